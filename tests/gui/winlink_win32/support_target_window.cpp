// A small Windows program for the window link tests: a window with an EDIT control holding
// numbers and a disabled EDIT below it. It writes the three window handles (decimal, main
// window first) to a file, then serves its windows, or with "hang" stops answering.
// Usage: win32_target <handles file> <x> <y> <text> [hang]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
std::wstring widen(const char* utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring w(std::size_t(n > 0 ? n : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, w.data(), n);
    w.resize(w.size() - 1);
    return w;
}

// Says on stderr which step failed and why; the test shows it.
int fail(const char* step) {
    std::fprintf(stderr, "%s failed (error %lu)\n", step, GetLastError());
    return 1;
}

void pumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < ms) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 5) return 2;
    const std::string handlesFile = argv[1];
    const int x = std::atoi(argv[2]), y = std::atoi(argv[3]);
    const std::wstring text = widen(argv[4]);
    const bool hang = argc > 5 && std::string(argv[5]) == "hang";

    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ZuohaoTestTarget";
    wc.hbrBackground = HBRUSH(COLOR_WINDOW + 1);
    RegisterClassW(&wc);
    HWND main = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"zuohao test target",
                                WS_POPUP | WS_BORDER | WS_VISIBLE, x, y, 360, 200, nullptr, nullptr,
                                wc.hInstance, nullptr);
    HWND edit =
        CreateWindowExW(0, L"EDIT", text.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE,
                        20, 20, 300, 90, main, HMENU(1), wc.hInstance, nullptr);
    HWND disabled = CreateWindowExW(0, L"EDIT", L"7 8 9", WS_CHILD | WS_VISIBLE | WS_DISABLED, 20,
                                    130, 300, 40, main, HMENU(2), wc.hInstance, nullptr);
    if (!main || !edit || !disabled) return fail("CreateWindowExW");
    ShowWindow(main, SW_SHOWNOACTIVATE);
    UpdateWindow(main);
    pumpFor(300);

    // Written whole, then renamed: the test never reads a half-written file.
    const std::string tmp = handlesFile + ".tmp";
    FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) return fail("fopen of the handles file");
    const auto handleNumber = [](HWND h) {
        return static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(h));
    };
    std::fprintf(f, "%llu %llu %llu\n", handleNumber(main), handleNumber(edit),
                 handleNumber(disabled));
    std::fclose(f);
    if (!MoveFileExA(tmp.c_str(), handlesFile.c_str(), MOVEFILE_REPLACE_EXISTING))
        return fail("MoveFileExA of the handles file");

    if (hang) Sleep(INFINITE); // the windows stay, their thread takes no more messages
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
