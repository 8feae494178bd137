// uia_texts <window title>: prints "<automation id>\t<name>" for every element of the top-level
// window with that title, through UI Automation as a screen reader reads it (Qt's windows provide
// it). The end-to-end test reads the check code a dialog shows this way, as the Linux tests read it
// over AT-SPI. MinGW has no import library for the client calls: they are looked up by name.
#include <cstdio>
#include <string>
#include <windows.h>
// After windows.h, which it needs.
#include <oleauto.h>

namespace {

using Node = void*;

struct Condition {
    int type; // 0: true
};
struct CacheRequest {
    Condition* viewCondition;
    int scope; // 1: the element itself
    int* properties;
    int propertyCount;
    int* patterns;
    int patternCount;
    int elementMode; // 1: full
};
struct FindParams {
    int maxDepth;
    BOOL findFirst;
    BOOL excludeRoot;
    Condition* findCondition;
};

constexpr int kNameProperty = 30005;
constexpr int kAutomationIdProperty = 30011;

using NodeFromHandle = HRESULT(WINAPI*)(HWND, Node*);
using Find = HRESULT(WINAPI*)(Node, FindParams*, CacheRequest*, SAFEARRAY**, SAFEARRAY**, SAFEARRAY**);
using NodeRelease = BOOL(WINAPI*)(Node);

template <class Function> Function lookUp(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

void printText(const VARIANT& value) {
    if (value.vt == VT_BSTR && value.bstrVal != nullptr) {
        const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, value.bstrVal, -1, nullptr, 0, nullptr, nullptr);
        std::string text(static_cast<std::size_t>(bytes), '\0');
        ::WideCharToMultiByte(CP_UTF8, 0, value.bstrVal, -1, text.data(), bytes, nullptr, nullptr);
        std::fputs(text.c_str(), stdout);
    }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2)
        return 2;
    const HWND window = ::FindWindowW(nullptr, argv[1]);
    const HMODULE uia = ::LoadLibraryW(L"uiautomationcore.dll");
    if (window == nullptr || uia == nullptr) {
        std::fputs("no such window, or no UI Automation\n", stderr);
        return 1;
    }
    const auto nodeFromHandle = lookUp<NodeFromHandle>(uia, "UiaNodeFromHandle");
    const auto find = lookUp<Find>(uia, "UiaFind");
    const auto release = lookUp<NodeRelease>(uia, "UiaNodeRelease");
    if (nodeFromHandle == nullptr || find == nullptr || release == nullptr)
        return 1;
    ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    Node root = nullptr;
    if (const HRESULT result = nodeFromHandle(window, &root); FAILED(result)) {
        std::fprintf(stderr, "UiaNodeFromHandle: %#lx\n", static_cast<unsigned long>(result));
        return 1;
    }
    Condition all{0};
    int properties[] = {kAutomationIdProperty, kNameProperty};
    CacheRequest request{&all, 1, properties, 2, nullptr, 0, 1};
    FindParams params{-1, FALSE, FALSE, &all};
    SAFEARRAY* data = nullptr;
    SAFEARRAY* offsets = nullptr;
    SAFEARRAY* structures = nullptr;
    if (const HRESULT result = find(root, &params, &request, &data, &offsets, &structures);
        FAILED(result) || data == nullptr) {
        std::fprintf(stderr, "UiaFind: %#lx\n", static_cast<unsigned long>(result));
        return 1;
    }
    LONG firstRow = 0, lastRow = -1;
    ::SafeArrayGetLBound(data, 1, &firstRow);
    ::SafeArrayGetUBound(data, 1, &lastRow);
    for (LONG row = firstRow; row <= lastRow; ++row) {
        for (LONG column = 1; column <= 2; ++column) {
            LONG index[2] = {row, column};
            VARIANT value;
            ::VariantInit(&value);
            if (SUCCEEDED(::SafeArrayGetElement(data, index, &value)))
                printText(value);
            ::VariantClear(&value);
            std::fputs(column == 1 ? "\t" : "\n", stdout);
        }
    }
    release(root);
    return 0;
}
