// The toolbar control (class "ToolbarWindow32"): a row of flat picture buttons and separators laid
// out left to right from one bitmap strip. A click on an enabled button sends WM_COMMAND with the
// button's command (notification code 0, lParam the toolbar) to the toolbar's parent.
// The TOOLBAR resource text and making a toolbar from a resource are here too.
#pragma once

#include "platform/win/KxWinExport.h"
#include "platform/win/Messages.h"
#include "platform/win/WinTypes.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr const char* TOOLBARCLASSNAME = "ToolbarWindow32";

inline constexpr BYTE TBSTATE_ENABLED = 0x04;
inline constexpr BYTE TBSTATE_PRESSED = 0x02;
inline constexpr BYTE TBSTYLE_BUTTON = 0x00;
inline constexpr BYTE TBSTYLE_SEP = 0x01;

struct TBBUTTON {
    int iBitmap = 0;      // image index in the strip
    int idCommand = 0;    // 0 for a separator
    BYTE fsState = TBSTATE_ENABLED;
    BYTE fsStyle = TBSTYLE_BUTTON;
};

// hInst must be null: nID is then a bitmap handle. The toolbar copies the pictures, so the caller
// may delete the bitmap afterwards. The strip's top-left pixel is its transparent colour.
struct TBADDBITMAP {
    HINSTANCE hInst = nullptr;
    UINT_PTR nID = 0;
};

// Messages. Commands address buttons by command id, indexes by position (separators count).
inline constexpr UINT TB_ENABLEBUTTON = WM_USER + 1;      // wParam id, lParam TRUE/FALSE; FALSE when missing
inline constexpr UINT TB_ISBUTTONENABLED = WM_USER + 9;   // wParam id
inline constexpr UINT TB_ADDBITMAP = WM_USER + 19;        // wParam image count, lParam TBADDBITMAP*; index of the first, -1 on failure
inline constexpr UINT TB_GETBUTTON = WM_USER + 23;        // wParam index, lParam TBBUTTON*
inline constexpr UINT TB_ADDBUTTONS = WM_USER + 20;       // wParam count, lParam TBBUTTON*
inline constexpr UINT TB_BUTTONCOUNT = WM_USER + 24;
inline constexpr UINT TB_COMMANDTOINDEX = WM_USER + 25;   // wParam id; -1 when missing
inline constexpr UINT TB_GETITEMRECT = WM_USER + 29;      // wParam index, lParam RECT* (toolbar client pixels)
inline constexpr UINT TB_BUTTONSTRUCTSIZE = WM_USER + 30;
inline constexpr UINT TB_SETBITMAPSIZE = WM_USER + 32;    // lParam MAKELPARAM(width, height) of one image
inline constexpr UINT TB_AUTOSIZE = WM_USER + 33;         // spans the parent's width at its top

namespace kxwin {

// A TOOLBAR resource: the image size and the items in order, 0 standing for a separator.
struct ToolbarTemplate {
    int buttonWidth = 16;
    int buttonHeight = 15;
    std::vector<UINT> items;
    friend bool operator==(const ToolbarTemplate&, const ToolbarTemplate&) = default;
};

struct KXWIN_API ToolbarParseResult {
    bool ok = false;
    ToolbarTemplate toolbar;  // when ok
    int line = 0;             // otherwise the line (from 1) and the reason
    std::string error;
    // "line 3: BUTTON needs a command id from 1 to 65535".
    std::string message() const;
};

// Parses the text of a TOOLBAR resource (a file under a module's "toolbars/" folder whose name
// starts with its id; its pictures are the BITMAP resource of the same id, one a button in order):
//   TOOLBAR 16, 15        image width and height, 1 to 256
//   BUTTON 32811          a button
//   SEPARATOR
//   END
// "#" starts a comment; LF, CRLF or CR line ends; a UTF-8 byte order mark is skipped; at most 1 MiB
// and 1024 items.
KXWIN_API ToolbarParseResult parseToolbarResource(std::string_view text);

// The TOOLBAR resource `resourceId` of the current resource handle. Nothing when it is missing or
// does not parse; `error` then says why ("TOOLBAR resource 128, line 3: ...").
KXWIN_API std::optional<ToolbarTemplate> loadToolbarResource(int resourceId, std::string* error = nullptr);

// Makes a visible toolbar child of `parent` with the template's buttons, images taken from `strip`
// in order (the n-th button the n-th image), and sizes it across the parent's top. Null when the
// parent is dead or the toolbar cannot be made. The strip stays the caller's.
KXWIN_API HWND createToolbar(HWND parent, int id, const ToolbarTemplate& toolbar, HBITMAP strip);

// The pixel height a toolbar of the given image height takes.
KXWIN_API int toolbarHeight(int imageHeight);

} // namespace kxwin

