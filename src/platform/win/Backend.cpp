// The active backend and the framework calls that go through it.
#include "platform/win/Backend.h"

#include "platform/win/Window.h"

namespace kxwin::detail {
std::unique_ptr<KxBackend> makeHeadlessBackend();
}

namespace {

std::unique_ptr<KxBackend>& active()
{
    static std::unique_ptr<KxBackend> b = kxwin::detail::makeHeadlessBackend();
    return b;
}

} // namespace

namespace kxwin {

KxBackend& backend()
{
    return *active();
}

void setBackend(std::unique_ptr<KxBackend> replacement)
{
    active() = replacement ? std::move(replacement) : detail::makeHeadlessBackend();
}

} // namespace kxwin

int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type)
{
    return kxwin::backend().messageBox(MessageBoxRequest{owner, text, caption, type});
}

int AfxMessageBox(const std::string& text, UINT type)
{
    return MessageBox(GetActiveWindow(), text, "KESTRA_SS", type);
}

DWORD GetTickCount()
{
    return kxwin::backend().now();
}
