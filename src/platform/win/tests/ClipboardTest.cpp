// The clipboard calls and their global memory blocks over the backend's clipboard.
#include "platform/win/Clipboard.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

HGLOBAL block(const std::string& text)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    return memory;
}

} // namespace

TEST(Clipboard, TextRoundTripsAsUtf8AndZeroBytesAreRefused)
{
    EXPECT_TRUE(kxwin::setClipboardText("Größe\t12,5\r\nnext"));
    EXPECT_EQ(kxwin::clipboardText(), "Größe\t12,5\r\nnext");
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_FALSE(kxwin::setClipboardText(std::string("a\0b", 3)));
    EXPECT_EQ(kxwin::clipboardText(), "Größe\t12,5\r\nnext") << "a refused text changes nothing";
    EXPECT_TRUE(kxwin::setClipboardText(""));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
}

TEST(Clipboard, CallsFollowTheOpenAndCloseProtocol)
{
    const int blocks = kxwin::liveGlobalBlockCount();
    HGLOBAL memory = block("copied");
    EXPECT_EQ(SetClipboardData(CF_TEXT, memory), nullptr) << "the clipboard is not open";
    EXPECT_EQ(GlobalSize(memory), 7u) << "a refused block stays the caller's";

    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_FALSE(OpenClipboard(nullptr)) << "one opener at a time";
    EXPECT_FALSE(kxwin::setClipboardText("x"));
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_EQ(SetClipboardData(2, memory), nullptr) << "text only";
    EXPECT_EQ(SetClipboardData(CF_TEXT, memory), memory);
    EXPECT_EQ(GlobalLock(memory), nullptr) << "the clipboard took the block";
    EXPECT_EQ(GlobalFree(memory), memory);

    HANDLE got = GetClipboardData(CF_TEXT);
    ASSERT_NE(got, nullptr);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(got)), "copied");
    EXPECT_TRUE(CloseClipboard());
    EXPECT_EQ(GlobalLock(got), nullptr) << "freed when the clipboard closes";
    EXPECT_FALSE(CloseClipboard());
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr) << "reading needs the clipboard open";
    EXPECT_EQ(kxwin::clipboardText(), "copied");

    ASSERT_TRUE(OpenClipboard(nullptr));
    HGLOBAL unterminated = GlobalAlloc(GMEM_FIXED, 3);
    std::memcpy(GlobalLock(unterminated), "abc", 3);
    EXPECT_NE(SetClipboardData(CF_TEXT, unterminated), nullptr);
    EXPECT_EQ(kxwin::clipboardText(), "abc") << "a block without its zero ends with the block";
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
    EXPECT_TRUE(CloseClipboard());
    EXPECT_EQ(kxwin::liveGlobalBlockCount(), blocks);
    EXPECT_EQ(GlobalAlloc(0, 0), nullptr);
}
