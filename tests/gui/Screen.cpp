// Waits on windows and their painting, and PNG files of screen areas.
#include "Screen.h"

#include <algorithm>
#include <utility>

namespace gui {

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (done())
            return true;
        if (GetTickCount64() >= deadline)
            return false;
        // The interval of the polling, not a wait for anything.
        Sleep(10);
    }
}

bool RoundTrip(HWND window, DWORD timeoutMs)
{
    DWORD_PTR ignored = 0;
    return IsWindow(window) && SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &ignored) != 0;
}

// A hidden window is never painted, whatever is marked in it.
bool NothingToPaint(HWND window)
{
    if (IsWindowVisible(window) && GetUpdateRect(window, nullptr, FALSE))
        return false;
    bool nothing = true;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) -> BOOL {
            if (!IsWindowVisible(child) || !GetUpdateRect(child, nullptr, FALSE))
                return TRUE;
            *reinterpret_cast<bool*>(data) = false;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&nothing));
    return nothing;
}

bool WaitUntilPainted(HWND window, DWORD timeoutMs)
{
    return RoundTrip(window, timeoutMs) && WaitUntil([&] { return NothingToPaint(window); }, timeoutMs);
}

std::vector<HWND> VisibleTopLevelWindows(DWORD processId)
{
    struct Search {
        DWORD processId;
        std::vector<HWND> found;
    } search{processId, {}};
    EnumWindows(
        [](HWND candidate, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(candidate, &owner);
            if (owner == s->processId && IsWindowVisible(candidate))
                s->found.push_back(candidate);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindow(DWORD processId, DWORD timeoutMs)
{
    HWND window = nullptr;
    WaitUntil([&] {
        const std::vector<HWND> windows = VisibleTopLevelWindows(processId);
        window = windows.empty() ? nullptr : windows.front();
        return window != nullptr;
    }, timeoutMs);
    return window;
}

namespace {

unsigned long Crc32(const unsigned char* data, size_t size, unsigned long crc = 0)
{
    crc = ~crc & 0xFFFFFFFFul;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320ul & (0ul - (crc & 1ul)));
    }
    return ~crc & 0xFFFFFFFFul;
}

void PutBigEndian(std::string& out, unsigned long value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void PutChunk(std::string& png, const char* type, const std::string& data)
{
    PutBigEndian(png, static_cast<unsigned long>(data.size()));
    std::string typed = std::string(type, 4) + data;
    png += typed;
    PutBigEndian(png, Crc32(reinterpret_cast<const unsigned char*>(typed.data()), typed.size()));
}

// A zlib stream of stored (uncompressed) blocks: larger files, no compressor needed.
std::string StoredZlib(const std::string& raw)
{
    std::string out = "\x78\x01";
    size_t offset = 0;
    do {
        const size_t block = std::min<size_t>(raw.size() - offset, 65535);
        const bool last = offset + block == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<char>(block & 0xFF));
        out.push_back(static_cast<char>(block >> 8));
        out.push_back(static_cast<char>(~block & 0xFF));
        out.push_back(static_cast<char>((~block >> 8) & 0xFF));
        out.append(raw, offset, block);
        offset += block;
    } while (offset < raw.size());
    unsigned long a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(out, (b << 16) | a);
    return out;
}

// The pixels of a screen area as PNG scanlines: a filter byte, then red, green and blue.
std::string ReadScreen(const RECT& area)
{
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    HDC screenDc = GetDC(nullptr);
    HDC memoryDc = CreateCompatibleDC(screenDc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screenDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memoryDc, bitmap);
    BitBlt(memoryDc, 0, 0, width, height, screenDc, area.left, area.top, SRCCOPY);
    GdiFlush();

    std::string raw;
    raw.reserve(static_cast<size_t>(height) * (1 + 3 * static_cast<size_t>(width)));
    const auto* pixels = static_cast<const unsigned char*>(bits);
    for (int y = 0; pixels && y < height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = pixels + (static_cast<size_t>(y) * width + x) * 4;
            raw.push_back(static_cast<char>(p[2]));
            raw.push_back(static_cast<char>(p[1]));
            raw.push_back(static_cast<char>(p[0]));
        }
    }
    SelectObject(memoryDc, previous);
    DeleteObject(bitmap);
    DeleteDC(memoryDc);
    ReleaseDC(nullptr, screenDc);
    return raw;
}

bool WritePng(int width, int height, const std::string& raw, const std::wstring& path)
{
    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    PutBigEndian(header, static_cast<unsigned long>(width));
    PutBigEndian(header, static_cast<unsigned long>(height));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", StoredZlib(raw));
    PutChunk(png, "IEND", "");
    // The folder of the screenshots is made by the first one saved in a fresh build.
    const std::size_t folderEnd = path.find_last_of(L"\\/");
    if (folderEnd != std::wstring::npos)
        CreateDirectoryW(path.substr(0, folderEnd).c_str(), nullptr);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool whole = WriteFile(file, png.data(), static_cast<DWORD>(png.size()), &written, nullptr) && written == png.size();
    return CloseHandle(file) && whole;
}

}  // namespace

bool SaveScreenPng(const RECT& area, const std::wstring& path)
{
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    return width > 0 && height > 0 && WritePng(width, height, ReadScreen(area), path);
}

// Wine draws a window's surface on the X screen some time after the program has painted it;
// only when two reads a frame apart agree is the picture the finished one.
bool SaveFinishedScreenPng(HWND window, const RECT& area, const std::wstring& path, DWORD timeoutMs)
{
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0 || !WaitUntilPainted(window, timeoutMs))
        return false;
    // The reads are compared a frame of a 60 Hz screen apart, or more.
    constexpr ULONGLONG FRAME_MS = 17;
    std::string last = ReadScreen(area);
    ULONGLONG lastRead = GetTickCount64();
    const bool settled = WaitUntil(
        [&] {
            if (GetTickCount64() - lastRead < FRAME_MS)
                return false;
            lastRead = GetTickCount64();
            std::string now = ReadScreen(area);
            const bool same = now == last && NothingToPaint(window);
            last = std::move(now);
            return same;
        },
        timeoutMs);
    return settled && WritePng(width, height, last, path);
}

}  // namespace gui
