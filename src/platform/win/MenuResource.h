// The text format of MENU resources (docs/menu-resources.md): parsing it into a menu template,
// writing a template back, and turning templates into menus and menus into templates.
// The parser works from memory and never touches handles, so it is also the fuzzing entry point.
#pragma once

#include "platform/win/KxWinExport.h"
#include "platform/win/Menu.h"
#include "platform/win/WinTypes.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kxwin {

// Limits of a menu resource: its size in bytes and how deep sub-menus nest.
inline constexpr std::size_t kMaxMenuResourceBytes = 1024 * 1024;
inline constexpr int kMaxMenuResourceDepth = 16;

// The item flags a template keeps.
inline constexpr UINT kMenuTemplateFlags =
    MF_GRAYED | MF_DISABLED | MF_CHECKED | MFT_RADIOCHECK | MF_MENUBREAK | MF_MENUBARBREAK | MF_DEFAULT | MF_RIGHTJUSTIFY;

struct MenuTemplateItem {
    enum class Kind { Command, Separator, Popup };
    Kind kind = Kind::Command;
    std::string text;  // UTF-8; "\t" separates the shortcut text
    UINT id = 0;       // commands: 1 to 65535
    UINT flags = 0;    // MF_GRAYED, MF_DISABLED, MF_CHECKED, MFT_RADIOCHECK, MF_MENUBREAK, MF_MENUBARBREAK,
                       // MF_DEFAULT, MF_RIGHTJUSTIFY
    std::vector<MenuTemplateItem> items;  // of a pop-up
    friend bool operator==(const MenuTemplateItem&, const MenuTemplateItem&) = default;
};

struct MenuTemplate {
    std::vector<MenuTemplateItem> items;  // the top level: a menu bar's entries
    friend bool operator==(const MenuTemplate&, const MenuTemplate&) = default;
};

struct KXWIN_API MenuParseResult {
    std::optional<MenuTemplate> menu;  // set on success
    int line = 0;                      // otherwise the line (from 1) ...
    std::string error;                 // ... and the reason
    explicit operator bool() const { return menu.has_value(); }
    // "line 4: unknown option \"BOLD\"".
    std::string message() const;
};

// Parses a whole resource. LF, CRLF and CR line ends; a UTF-8 byte order mark is skipped.
KXWIN_API MenuParseResult parseMenuResource(std::string_view text);
// The template in the resource format; parsing it back gives the same template when every command
// is within 1 to 65535 and sub-menus nest at most kMaxMenuResourceDepth deep.
KXWIN_API std::string writeMenuResource(const MenuTemplate& menu);

// A menu bar holding the template's items (null when memory runs out). The caller owns it.
KXWIN_API HMENU createMenuFromTemplate(const MenuTemplate& menu);
// The items of a menu as a template; empty for a stale handle.
KXWIN_API MenuTemplate menuTemplateOf(HMENU menu);

} // namespace kxwin
