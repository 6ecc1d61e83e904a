// The control's picture, drawn through IViewObject into a memory device
// context as a container would: a framed box with "WevraCtrl" in its middle.
// The picture is saved as a BMP into $WEVRA_ARTIFACT_DIR when that is set.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "Handles.h"
#include "PlugInDll.h"

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 120;

// A white 32-bit top-down bitmap selected into a memory DC.
class Canvas {
public:
    Canvas()
    {
        dc_.reset(CreateCompatibleDC(nullptr));
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_.reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        pixels_ = static_cast<const DWORD*>(bits);
        old_ = SelectObject(dc_.get(), bitmap_.get());
        PatBlt(dc_.get(), 0, 0, kWidth, kHeight, WHITENESS);
    }
    ~Canvas() { SelectObject(dc_.get(), old_); }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return dc_.get(); }
    bool Inked(int x, int y) const
    {
        GdiFlush();
        return (pixels_[y * kWidth + x] & 0xFFFFFF) != 0xFFFFFF;
    }

    void SaveBmp(const std::string& path) const
    {
        GdiFlush();
        BITMAPFILEHEADER file = {};
        BITMAPINFOHEADER header = {};
        header.biSize = sizeof(header);
        header.biWidth = kWidth;
        header.biHeight = -kHeight;
        header.biPlanes = 1;
        header.biBitCount = 32;
        header.biCompression = BI_RGB;
        const DWORD size = kWidth * kHeight * 4;
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof(file) + sizeof(header);
        file.bfSize = file.bfOffBits + size;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(&file), sizeof(file));
        out.write(reinterpret_cast<const char*>(&header), sizeof(header));
        out.write(reinterpret_cast<const char*>(pixels_), size);
    }

private:
    UniqueMemDc dc_;
    UniqueGdiObject bitmap_;
    HGDIOBJ old_ = nullptr;
    const DWORD* pixels_ = nullptr;
};

struct InkBox {
    int left = kWidth, top = kHeight, right = -1, bottom = -1;
    bool Empty() const { return right < 0; }
};

InkBox InkWithin(const Canvas& canvas, const RECT& area)
{
    InkBox box;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (canvas.Inked(x, y)) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

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
