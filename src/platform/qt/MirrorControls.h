// Private to platform/qt: the widget each kind of window gets and how it shows the window's state.
#pragma once

#include "platform/qt/QtMirror.h"

#include <QComboBox>

#include <functional>
#include <optional>
#include <utility>

namespace kxqt {

// A combo box that reports its list opening and closing (the layer's drop-down state). onPopup
// answers whether the layer's list is open afterwards; Qt's list is shown only then.
class MirrorComboBox : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<bool(bool open)> onPopup;
    void showPopup() override;
    void hidePopup() override;
};

// The height of the menu bar a top-level window's widget shows above the window's client area; the
// window's children sit that much lower in the widget.
inline constexpr int kMenuBarHeight = 22;
// kMenuBarHeight for a child of a top-level window with a menu bar, else 0.
int menuBarOffset(HWND hwnd);

// Makes the widget of a window of `kind` inside `parent` (null: a top-level window). The caller
// owns a top-level widget; a child belongs to its parent.
QWidget* createControlWidget(HWND hwnd, MirrorKind kind, QWidget* parent);
// Shows the window's geometry, visibility, enabled state, font, text and contents on its widget.
void syncControlWidget(HWND hwnd, MirrorKind kind, QWidget* widget);
// The selection a text widget shows, in characters (code points) as the layer counts them.
std::optional<std::pair<int, int>> widgetSelection(HWND hwnd, QWidget* widget);

} // namespace kxqt
