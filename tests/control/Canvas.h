#pragma once
// A white 32-bit bitmap in a memory DC to draw the control into, with the
// means to find where ink landed and to save the picture.
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "Handles.h"

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

inline InkBox InkWithin(const Canvas& canvas, const RECT& area)
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
