// A drawing-platform layer for tests: forwards to a private Qt layer, records
// every call as text, and refuses chosen calls (the N-th call of an operation
// fails without reaching the platform).
#pragma once

#include "graphics/platform/qt/qtgdi.h"

#include <QString>
#include <QStringList>

#include <map>

namespace testing_support {

class FakeGdi final : public gdi::Gdi {
public:
    // The nth (from 1) call of op from now on fails; 0 refuses every call.
    void refuse(const QString& op, int nth = 1) { refusals_[op] = {nth, 0}; }
    void clearLog() { log.clear(); }
    QStringList calls(const QString& op) const; // log entries of one operation
    int liveObjects() const { return real.liveObjects(); }

    QStringList log;
    gdi::qt::QtGdi real;

    gdi::HDC CreateCompatibleDC(gdi::HDC ref) override;
    gdi::HBITMAP CreateDIBSection(gdi::HDC dc, const gdi::BITMAPINFOHEADER& header,
                                  std::uint32_t usage, void** bits, gdi::Handle section,
                                  std::uint32_t offset) override;
    gdi::HBITMAP CreateCompatibleBitmap(gdi::HDC dc, int width, int height) override;
    gdi::HGDIOBJ SelectObject(gdi::HDC dc, gdi::HGDIOBJ object) override;
    bool DeleteObject(gdi::HGDIOBJ object) override;
    bool DeleteDC(gdi::HDC dc) override;
    bool BitBlt(gdi::HDC dst, int x, int y, int w, int h, gdi::HDC src, int sx, int sy,
                std::uint32_t rop) override;
    int GetObjectA(gdi::HGDIOBJ object, int size, void* record) override;
    gdi::HWND GetDesktopWindow() override;
    gdi::HDC GetDC(gdi::HWND window) override;
    int ReleaseDC(gdi::HWND window, gdi::HDC dc) override;
    gdi::HRGN CreateRectRgn(int left, int top, int right, int bottom) override;
    bool CombineRgn(gdi::HRGN destination, gdi::HRGN source1, gdi::HRGN source2, int mode) override;
    int SetWindowRgn(gdi::HWND window, gdi::HRGN region, bool redraw) override;
    gdi::HBITMAP CreateBitmap(int width, int height, std::uint32_t planes, std::uint32_t bitCount,
                              const void* bits) override;

    QRegion RegionPixels(gdi::HRGN region) const { return real.RegionPixels(region); }
    bool OpenClipboard(gdi::HWND owner) override;
    bool EmptyClipboard() override;
    gdi::Handle SetClipboardData(std::uint32_t format, gdi::Handle data) override;
    bool CloseClipboard() override;
    // Shows nothing: records the text and caption, and whether the clipboard
    // was open meanwhile; answers OK.
    int MessageBoxA(gdi::HWND owner, const char* text, const char* caption,
                    std::uint32_t type) override;
    bool clipboardOpenDuringMessage = false;

    // Region data.
    std::uint32_t GetRegionData(gdi::HRGN region, std::uint32_t size, void* buffer) override;
    gdi::HRGN ExtCreateRegion(const void* xform, std::uint32_t size, const void* data) override;

private:
    // Logs the call; true when it is to be refused.
    bool enter(const QString& op, const QString& args);
    struct Refusal {
        int nth;
        int seen;
    };
    std::map<QString, Refusal> refusals_;
};

} // namespace testing_support
