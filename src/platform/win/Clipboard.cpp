// Clipboard calls and global memory blocks.
#include "platform/win/Clipboard.h"

#include "platform/win/Backend.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <unordered_map>
#include <vector>

namespace {

constexpr std::size_t kMaxGlobalBlock = std::size_t{1} << 30;

struct State {
    std::unordered_map<std::uintptr_t, std::vector<BYTE>> blocks;
    std::uintptr_t next = 0x40000000;
    bool open = false;
    HWND owner = nullptr;
    std::vector<HGLOBAL> handedOut;  // blocks GetClipboardData made, freed on close or empty
};

State& state()
{
    static State s;
    return s;
}

std::vector<BYTE>* findBlock(HGLOBAL memory)
{
    if (memory == nullptr)
        return nullptr;
    auto& blocks = state().blocks;
    auto it = blocks.find(reinterpret_cast<std::uintptr_t>(memory));
    return it == blocks.end() ? nullptr : &it->second;
}

void freeHandedOut()
{
    State& s = state();
    for (HGLOBAL block : s.handedOut)
        GlobalFree(block);
    s.handedOut.clear();
}

} // namespace

HGLOBAL GlobalAlloc(UINT, std::size_t bytes)
{
    if (bytes == 0 || bytes > kMaxGlobalBlock)
        return nullptr;
    try {
        State& s = state();
        const std::uintptr_t handle = s.next;
        s.blocks.emplace(handle, std::vector<BYTE>(bytes, 0));
        s.next += 4;
        return reinterpret_cast<HGLOBAL>(handle);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void* GlobalLock(HGLOBAL memory)
{
    std::vector<BYTE>* block = findBlock(memory);
    return block ? block->data() : nullptr;
}

BOOL GlobalUnlock(HGLOBAL memory)
{
    return findBlock(memory) != nullptr;
}

HGLOBAL GlobalFree(HGLOBAL memory)
{
    if (findBlock(memory) == nullptr)
        return memory;
    state().blocks.erase(reinterpret_cast<std::uintptr_t>(memory));
    return nullptr;
}

std::size_t GlobalSize(HGLOBAL memory)
{
    std::vector<BYTE>* block = findBlock(memory);
    return block ? block->size() : 0;
}

BOOL OpenClipboard(HWND owner)
{
    State& s = state();
    if (s.open)
        return FALSE;
    s.open = true;
    s.owner = owner;
    return TRUE;
}

BOOL CloseClipboard()
{
    State& s = state();
    if (!s.open)
        return FALSE;
    freeHandedOut();
    s.open = false;
    s.owner = nullptr;
    return TRUE;
}

BOOL EmptyClipboard()
{
    if (!state().open)
        return FALSE;
    freeHandedOut();
    kxwin::backend().setClipboardText(std::string());
    return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE memory)
{
    std::vector<BYTE>* block = findBlock(memory);
    if (!state().open || format != CF_TEXT || block == nullptr)
        return nullptr;
    try {
        const auto end = std::find(block->begin(), block->end(), BYTE{0});
        kxwin::backend().setClipboardText(std::string(block->begin(), end));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    GlobalFree(memory);
    return memory;
}

HANDLE GetClipboardData(UINT format)
{
    State& s = state();
    if (!s.open || format != CF_TEXT)
        return nullptr;
    try {
        const std::string text = kxwin::backend().clipboardText();
        if (text.empty())
            return nullptr;
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
        if (block == nullptr)
            return nullptr;
        std::memcpy(GlobalLock(block), text.data(), text.size());
        GlobalUnlock(block);
        s.handedOut.push_back(block);
        return block;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

BOOL IsClipboardFormatAvailable(UINT format)
{
    return format == CF_TEXT && !kxwin::backend().clipboardText().empty();
}

namespace kxwin {

bool setClipboardText(const std::string& text)
{
    if (text.find('\0') != std::string::npos || !OpenClipboard(nullptr))
        return false;
    freeHandedOut();
    backend().setClipboardText(text);
    CloseClipboard();
    return true;
}

std::string clipboardText()
{
    return backend().clipboardText();
}

bool isClipboardOpen()
{
    return state().open;
}

int liveGlobalBlockCount()
{
    return static_cast<int>(state().blocks.size());
}

} // namespace kxwin
