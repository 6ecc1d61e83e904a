// The control's picture, drawn through IViewObject into a memory device
// context as a container would: a framed box with "WevraCtrl" in its middle.
// The picture is saved as a BMP into $WEVRA_ARTIFACT_DIR when that is set.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "Canvas.h"
#include "PlugInDll.h"

namespace {

class DrawingTest : public testing::Test {
protected:
    HRESULT Draw(const RECTL* bounds, DWORD aspect = DVASPECT_CONTENT)
    {
        return view_->Draw(aspect, -1, nullptr, nullptr, nullptr, canvas_.Dc(), bounds, nullptr, nullptr, 0);
    }

    ComApartment apartment_;
    ComPtr<IViewObject> view_ = PlugInDll::Instance().Create<IViewObject>(IID_IViewObject);
    Canvas canvas_;
};

TEST_F(DrawingTest, drawsAFramedBoxWithTheNameCentredOnItsMiddle)
{
    const RECTL bounds = {20, 10, 220, 110};
    ASSERT_EQ(Draw(&bounds), S_OK);
    if (const char* dir = std::getenv("WEVRA_ARTIFACT_DIR")) canvas_.SaveBmp(std::string(dir) + "/wevractrl-draw.bmp");

    // The frame, drawn with the DC's default black pen, on the bounds.
    EXPECT_TRUE(canvas_.Inked(20, 60));
    EXPECT_TRUE(canvas_.Inked(219, 60));
    EXPECT_TRUE(canvas_.Inked(120, 10));
    EXPECT_TRUE(canvas_.Inked(120, 109));
    EXPECT_FALSE(canvas_.Inked(19, 60));
    EXPECT_FALSE(canvas_.Inked(220, 60));
    EXPECT_FALSE(canvas_.Inked(120, 9));
    EXPECT_FALSE(canvas_.Inked(120, 110));
    EXPECT_FALSE(canvas_.Inked(30, 20)) << "filled with the default white brush";

    // The text: centred on x = 120, sitting on the baseline y = 60.
    const InkBox text = InkWithin(canvas_, RECT{21, 11, 219, 109});
    ASSERT_FALSE(text.Empty()) << "no text drawn";
    EXPECT_NEAR((text.left + text.right) / 2.0, 120.0, 2.0);
    EXPECT_GE(text.bottom, 57) << "text sits on the baseline";
    EXPECT_LE(text.bottom, 60) << "text sits on the baseline";
    EXPECT_LT(text.top, 55);
    EXPECT_GT(text.right - text.left, 20) << "the whole name, not a dot";
}

TEST_F(DrawingTest, clipsToTheBounds_andLeavesNoClipRegionBehind)
{
    const RECTL narrow = {100, 40, 130, 80};
    ASSERT_EQ(Draw(&narrow), S_OK);
    EXPECT_TRUE(InkWithin(canvas_, RECT{0, 0, 100, kHeight}).Empty()) << "text spilled left of the bounds";
    EXPECT_TRUE(InkWithin(canvas_, RECT{130, 0, kWidth, kHeight}).Empty()) << "text spilled right of the bounds";
    EXPECT_FALSE(InkWithin(canvas_, RECT{101, 41, 129, 79}).Empty());

    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(canvas_.Dc(), region), 0) << "clipping removed after drawing";
    DeleteObject(region);
}

TEST_F(DrawingTest, drawsOnlyTheContentAspect_andNeedsBoundsWhenNotActive)
{
    const RECTL bounds = {20, 10, 220, 110};
    EXPECT_EQ(Draw(&bounds, DVASPECT_ICON), DV_E_DVASPECT);
    EXPECT_EQ(Draw(nullptr), E_INVALIDARG);
    EXPECT_TRUE(InkWithin(canvas_, RECT{0, 0, kWidth, kHeight}).Empty());
}

TEST_F(DrawingTest, dataObjectRendersTheContentAsAMetafilePicture)
{
    const auto data = view_.As<IDataObject>(IID_IDataObject);
    FORMATETC format = {CF_METAFILEPICT, nullptr, DVASPECT_CONTENT, -1, TYMED_MFPICT};
    EXPECT_EQ(data->QueryGetData(&format), S_OK);
    STGMEDIUM medium = {};
    ASSERT_EQ(data->GetData(&format, &medium), S_OK);
    EXPECT_EQ(medium.tymed, static_cast<DWORD>(TYMED_MFPICT));
    const auto* picture = static_cast<const METAFILEPICT*>(GlobalLock(medium.hMetaFilePict));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->mm, MM_ANISOTROPIC);
    EXPECT_EQ(picture->xExt, 5080);
    EXPECT_EQ(picture->yExt, 5080);
    EXPECT_NE(picture->hMF, nullptr);
    GlobalUnlock(medium.hMetaFilePict);
    ReleaseStgMedium(&medium);

    FORMATETC bitmap = {CF_BITMAP, nullptr, DVASPECT_CONTENT, -1, TYMED_GDI};
    EXPECT_EQ(data->GetData(&bitmap, &medium), DV_E_FORMATETC);
}

} // namespace
