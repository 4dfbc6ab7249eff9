// The widget of each kind of window and how it shows the window's state. The state is always read
// back from the layer (texts, checks, entries, selections), never kept here.
#include "platform/qt/MirrorControls.h"

#include "platform/win/Bitmap.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/Dialog.h"
#include "platform/win/DrawingContext.h"
#include "platform/win/ImageList.h"
#include "platform/win/MenuBar.h"
#include "platform/win/MenuResource.h"
#include "platform/win/RichEdit.h"

#include <QApplication>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTreeWidget>

#include <algorithm>
#include <cstring>
#include <map>

namespace kxqt {

namespace {

QString toQt(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

DWORD styleOf(HWND hwnd)
{
    return static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE));
}

// Windows that paint themselves, and top-level windows other than dialogs: the paint record of the
// window, replayed.
class LayerCanvas : public QWidget {
public:
    LayerCanvas(HWND hwnd, QWidget* parent) : QWidget(parent), m_hwnd(hwnd) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!IsWindow(m_hwnd))
            return;
        QPainter painter(this);
        mirrorIsPainting() = true;
        kxwin::paintWindow(m_hwnd);
        mirrorIsPainting() = false;
        replayPaintRecord(painter, m_hwnd);
    }

private:
    HWND m_hwnd;
};

// A dialog: Qt's own dialog face, with whatever the dialog paints itself (a background picture,
// the dialog designer's selection) replayed over it. A dialog that paints nothing leaves no record.
class LayerDialog : public QDialog {
public:
    // The mouse is followed without a button too, so that the window under it can set the cursor
    // (the dialog designer's size and move cursors over its selection).
    explicit LayerDialog(HWND hwnd) : QDialog(nullptr), m_hwnd(hwnd) { setMouseTracking(true); }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QDialog::paintEvent(event);
        if (!IsWindow(m_hwnd))
            return;
        mirrorIsPainting() = true;
        kxwin::paintWindow(m_hwnd);
        mirrorIsPainting() = false;
        if (kxwin::lastPaintRecord(m_hwnd).empty())
            return;
        QPainter painter(this);
        replayPaintRecord(painter, m_hwnd);
    }

private:
    HWND m_hwnd;
};

// A tab control: the strip of tabs over a framed pane. The pages are the dialog's own controls,
// placed over the pane by the layer.
class TabFrame : public QWidget {
public:
    explicit TabFrame(QWidget* parent) : QWidget(parent), m_pane(new QFrame(this)), m_bar(new QTabBar(this))
    {
        m_pane->setFrameShape(QFrame::StyledPanel);
        m_bar->setDrawBase(false);
        m_bar->setExpanding(false);
    }
    QTabBar* bar() const { return m_bar; }

protected:
    void resizeEvent(QResizeEvent*) override
    {
        const int barHeight = m_bar->sizeHint().height();
        m_bar->setGeometry(0, 0, width(), barHeight);
        m_pane->setGeometry(0, barHeight - 1, width(), std::max(0, height() - barHeight + 1));
    }

private:
    QFrame* m_pane;
    QTabBar* m_bar;
};

// Positions of a layer text (code points, "\r\n" as two) in the Qt string shown for it (UTF-16,
// "\r\n" as one "\n" where `joinLineBreaks`).
struct TextMap {
    QString shown;
    std::vector<int> qtPos;  // for each layer position 0..n

    TextMap(const std::string& text, bool joinLineBreaks)
    {
        const QString full = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        const QList<uint> cps = full.toUcs4();
        qtPos.reserve(static_cast<size_t>(cps.size()) + 1);
        for (qsizetype i = 0; i < cps.size(); ++i) {
            qtPos.push_back(static_cast<int>(shown.size()));
            const char32_t cp = cps[i];
            if (joinLineBreaks && cp == '\r' && i + 1 < cps.size() && cps[i + 1] == '\n')
                continue;
            shown.append(QString::fromUcs4(&cp, 1));
        }
        qtPos.push_back(static_cast<int>(shown.size()));
    }
    int toQt(int layer) const
    {
        if (qtPos.empty())
            return 0;
        return qtPos[static_cast<size_t>(std::clamp<int>(layer, 0, static_cast<int>(qtPos.size()) - 1))];
    }
    int toLayer(int qt) const
    {
        const auto it = std::lower_bound(qtPos.begin(), qtPos.end(), qt);
        return static_cast<int>(it - qtPos.begin());
    }
};

std::pair<int, int> layerSelection(HWND hwnd)
{
    DWORD start = 0;
    DWORD end = 0;
    SendMessage(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
}

// Labels and group boxes: "&x" marks a mnemonic and shows as "x"; "&&" shows one "&".
QString withoutMnemonics(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size())
            ++i;
        out.append(text[i]);
    }
    return out;
}

QPixmap pixmapOf(const std::shared_ptr<const kxwin::BitmapPixels>& pixels)
{
    if (!pixels || pixels->empty())
        return {};
    const QImage image(pixels->rgba.data(), pixels->width, pixels->height, pixels->width * 4, QImage::Format_RGBA8888);
    return QPixmap::fromImage(image.copy());
}

QPixmap imageOf(HWND hwnd, UINT getMessage, bool icon)
{
    const LRESULT handle = SendMessage(hwnd, getMessage, icon ? IMAGE_ICON : IMAGE_BITMAP);
    if (handle == 0)
        return {};
    return icon ? pixmapOf(kxwin::iconPixels(reinterpret_cast<HICON>(handle)))
                : pixmapOf(kxwin::bitmapPixels(reinterpret_cast<HBITMAP>(handle)));
}

// The icons of image-list pictures, made once per picture. An entry keeps the picture it was made
// from: the list hands out a new one when an image is replaced, so a changed image is seen by
// comparing, and a list that is gone finds nothing (its handle is never reused).
struct ImageListIcons {
    struct Entry {
        std::shared_ptr<const kxwin::BitmapPixels> pixels;
        QIcon icon;
    };
    std::map<std::pair<HIMAGELIST, int>, Entry> entries;
    size_t sizeAtLastPurge = 0;
};

ImageListIcons& imageListIcons()
{
    // Emptied before Qt goes (pixmaps must not outlive the application); never destroyed itself.
    static ImageListIcons* cache = [] {
        auto* made = new ImageListIcons;
        qAddPostRoutine([] { imageListIcons().entries.clear(); });
        return made;
    }();
    return *cache;
}

QIcon imageListIcon(HIMAGELIST list, int index)
{
    if (list == nullptr || index < 0)
        return {};
    ImageListIcons& cache = imageListIcons();
    const auto key = std::pair{list, index};
    std::shared_ptr<const kxwin::BitmapPixels> pixels = kxwin::imageListPixels(list, index);
    if (!pixels || pixels->empty()) {
        cache.entries.erase(key);
        return {};
    }
    ImageListIcons::Entry& entry = cache.entries[key];
    if (entry.pixels != pixels) {
        entry.icon = QIcon(pixmapOf(pixels));
        entry.pixels = std::move(pixels);
    }
    QIcon icon = entry.icon;
    if (cache.entries.size() > 2 * cache.sizeAtLastPurge + 64) {
        std::erase_if(cache.entries, [](const auto& e) { return !kxwin::isImageList(e.first.first); });
        cache.sizeAtLastPurge = cache.entries.size();
    }
    return icon;
}

// The image list a list view draws its items from in its current view, and its picture size.
HIMAGELIST listViewImages(HWND hwnd, QSize& size)
{
    const bool icons = (styleOf(hwnd) & LVS_TYPEMASK) == LVS_ICON;
    auto* list = reinterpret_cast<HIMAGELIST>(SendMessage(hwnd, LVM_GETIMAGELIST, icons ? LVSIL_NORMAL : LVSIL_SMALL));
    int cx = 0, cy = 0;
    if (list == nullptr || !ImageList_GetIconSize(list, &cx, &cy))
        return nullptr;
    size = QSize(cx, cy);
    return list;
}

QIcon listViewIcon(HWND hwnd, HIMAGELIST list, int item)
{
    if (list == nullptr)
        return {};
    LVITEM entry;
    entry.mask = LVIF_IMAGE;
    entry.iItem = item;
    entry.iImage = -1;
    if (!SendMessage(hwnd, LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&entry)))
        return {};
    return imageListIcon(list, entry.iImage);
}

void setIconIfChanged(QListWidgetItem* item, const QIcon& icon)
{
    if (item->icon().cacheKey() != icon.cacheKey())
        item->setIcon(icon);
}

QStringList itemTexts(HWND hwnd, UINT countMsg, UINT lengthMsg, UINT textMsg)
{
    QStringList out;
    const LRESULT n = SendMessage(hwnd, countMsg);
    for (LRESULT i = 0; i < n; ++i) {
        const LRESULT length = std::max<LRESULT>(SendMessage(hwnd, lengthMsg, static_cast<WPARAM>(i)), 0);
        std::string text(static_cast<size_t>(length) + 1, '\0');
        SendMessage(hwnd, textMsg, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(std::min(text.size() - 1, std::strlen(text.c_str())));
        out.push_back(toQt(text));
    }
    return out;
}

constexpr int kItemTextBuffer = 1024;

QString listViewText(HWND hwnd, int item, int subItem)
{
    char buffer[kItemTextBuffer] = {};
    LVITEM entry;
    entry.iSubItem = subItem;
    entry.pszText = buffer;
    entry.cchTextMax = kItemTextBuffer;
    SendMessage(hwnd, LVM_GETITEMTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&entry));
    return QString::fromUtf8(buffer);
}

void syncListWidget(QListWidget* list, const QStringList& texts)
{
    bool same = list->count() == texts.size();
    for (int i = 0; same && i < texts.size(); ++i)
        same = list->item(i)->text() == texts[i];
    if (!same) {
        list->clear();
        list->addItems(texts);
    }
}

void syncButton(HWND hwnd, MirrorKind kind, QWidget* widget)
{
    const DWORD style = styleOf(hwnd);
    const DWORD type = style & BS_TYPEMASK;
    const QString text = toQt(GetWindowText(hwnd));
    const auto check = SendMessage(hwnd, BM_GETCHECK);
    if (kind == MirrorKind::PushButton) {
        auto* button = static_cast<QPushButton*>(widget);
        if (button->text() != text)
            button->setText(text);
        button->setDefault(type == BS_DEFPUSHBUTTON);
        const bool checkable = type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON;
        button->setCheckable(checkable);
        if (checkable)
            button->setChecked(check == BST_CHECKED);
        button->setDown((SendMessage(hwnd, BM_GETSTATE) & BST_PUSHED) != 0);
        if (style & (BS_BITMAP | BS_ICON)) {
            const QPixmap picture = imageOf(hwnd, BM_GETIMAGE, (style & BS_ICON) != 0);
            button->setIcon(QIcon(picture));
            button->setIconSize(picture.size());
        }
    } else if (kind == MirrorKind::CheckBox) {
        auto* box = static_cast<QCheckBox*>(widget);
        if (box->text() != text)
            box->setText(text);
        box->setTristate(type == BS_3STATE || type == BS_AUTO3STATE);
        box->setCheckState(check == BST_CHECKED         ? Qt::Checked
                           : check == BST_INDETERMINATE ? Qt::PartiallyChecked
                                                        : Qt::Unchecked);
        box->setLayoutDirection((style & BS_LEFTTEXT) ? Qt::RightToLeft : Qt::LeftToRight);
    } else if (kind == MirrorKind::RadioButton) {
        auto* radio = static_cast<QRadioButton*>(widget);
        if (radio->text() != text)
            radio->setText(text);
        radio->setChecked(check == BST_CHECKED);
        radio->setLayoutDirection((style & BS_LEFTTEXT) ? Qt::RightToLeft : Qt::LeftToRight);
    } else if (kind == MirrorKind::GroupBox) {
        static_cast<QGroupBox*>(widget)->setTitle(text);
    }
}

// A rich edit's character format as Qt's: the face and size by the same rules as window fonts
// (twips at 96 DPI, 15 to the pixel), effects, and the colour unless it is the automatic one.
QTextCharFormat charFormatOf(const CHARFORMAT& format)
{
    LOGFONT description{};
    description.lfHeight = -std::max<LONG>(1, (format.yHeight + 7) / 15);
    description.lfWeight = (format.dwEffects & CFE_BOLD) ? FW_BOLD : FW_NORMAL;
    description.lfItalic = (format.dwEffects & CFE_ITALIC) ? 1 : 0;
    description.lfUnderline = (format.dwEffects & CFE_UNDERLINE) ? 1 : 0;
    description.lfStrikeOut = (format.dwEffects & CFE_STRIKEOUT) ? 1 : 0;
    const void* zero = std::memchr(format.szFaceName, 0, LF_FACESIZE);
    const size_t faceLength = zero ? static_cast<size_t>(static_cast<const char*>(zero) - format.szFaceName)
                                   : static_cast<size_t>(LF_FACESIZE);
    description.lfFaceName.assign(format.szFaceName, faceLength);
    QTextCharFormat out;
    out.setFont(fontFor(description));
    if ((format.dwEffects & CFE_AUTOCOLOR) == 0) {
        const COLORREF c = format.crTextColor;
        out.setForeground(QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                                 static_cast<int>((c >> 16) & 0xFF)));
    }
    if (format.yOffset != 0)
        out.setVerticalAlignment(format.yOffset > 0 ? QTextCharFormat::AlignSuperScript
                                                    : QTextCharFormat::AlignSubScript);
    return out;
}

// The rich edit's text as runs of Qt character formats. Line breaks ("\r\n", or a lone "\r" or
// "\n") become one paragraph break each, as TextMap counts them, so selections map the same way.
void syncRichText(HWND hwnd, QTextEdit* rich)
{
    const std::vector<kxwin::RichTextRun> runs = kxwin::richTextRuns(hwnd);
    // Rebuilt only when a text or a format changed: the runs in a compact form are the key.
    QByteArray key;
    for (const kxwin::RichTextRun& run : runs) {
        const CHARFORMAT& f = run.format;
        key += QByteArray::number(run.length) + ',' + QByteArray::number(f.dwEffects) + ',' +
               QByteArray::number(static_cast<int>(f.yHeight)) + ',' + QByteArray::number(static_cast<int>(f.yOffset)) +
               ',' + QByteArray::number(f.crTextColor) + ',' +
               QByteArray(f.szFaceName, static_cast<int>(strnlen(f.szFaceName, LF_FACESIZE))) + '\x1F' +
               QByteArray::fromStdString(run.text) + '\x1E';
    }
    bool systemBackground = true;
    const COLORREF background = kxwin::richEditBackground(hwnd, &systemBackground);
    QPalette palette = rich->palette();
    const QColor base = systemBackground ? QApplication::palette().color(QPalette::Base)
                                         : QColor(static_cast<int>(background & 0xFF),
                                                  static_cast<int>((background >> 8) & 0xFF),
                                                  static_cast<int>((background >> 16) & 0xFF));
    if (palette.color(QPalette::Base) != base) {
        palette.setColor(QPalette::Base, base);
        rich->setPalette(palette);
    }
    if (rich->property("kxRuns").toByteArray() == key && !key.isEmpty())
        return;
    rich->setProperty("kxRuns", key);
    QTextDocument* document = rich->document();
    document->clear();
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    bool afterCr = false;
    for (const kxwin::RichTextRun& run : runs) {
        QString shown;
        for (char32_t cp : QString::fromStdString(run.text).toUcs4()) {
            const bool joined = afterCr && cp == U'\n';
            afterCr = cp == U'\r';
            if (joined)
                continue;
            if (cp == U'\r' || cp == U'\n')
                shown.append(QChar(u'\n'));
            else
                shown.append(QString::fromUcs4(&cp, 1));
        }
        cursor.insertText(shown, charFormatOf(run.format));
    }
    cursor.endEditBlock();
}

void syncEdit(HWND hwnd, MirrorKind kind, QWidget* widget)
{
    const DWORD style = styleOf(hwnd);
    const bool framed = (style & WS_BORDER) || (GetWindowLong(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    const TextMap map(GetWindowText(hwnd), kind != MirrorKind::LineEdit);
    const auto [start, end] = layerSelection(hwnd);
    if (kind == MirrorKind::LineEdit) {
        auto* edit = static_cast<QLineEdit*>(widget);
        if (edit->text() != map.shown)
            edit->setText(map.shown);
        edit->setReadOnly((style & ES_READONLY) != 0);
        edit->setEchoMode((style & ES_PASSWORD) ? QLineEdit::Password : QLineEdit::Normal);
        edit->setAlignment((style & ES_RIGHT) ? Qt::AlignRight : (style & ES_CENTER) ? Qt::AlignHCenter : Qt::AlignLeft);
        edit->setFrame(framed);
        const int from = map.toQt(start);
        const int to = map.toQt(end);
        // As on the desktop, an edit without the focus hides its selection unless ES_NOHIDESEL.
        const bool showSelection = GetFocus() == hwnd || (style & ES_NOHIDESEL) != 0;
        if (from == to || !showSelection)
            edit->setCursorPosition(to);
        else
            edit->setSelection(from, to - from);
        return;
    }
    if (kind == MirrorKind::TextEdit) {
        auto* edit = static_cast<QPlainTextEdit*>(widget);
        if (edit->toPlainText() != map.shown)
            edit->setPlainText(map.shown);
        edit->setReadOnly((style & ES_READONLY) != 0);
        edit->setLineWrapMode((style & ES_AUTOHSCROLL) ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
        edit->setVerticalScrollBarPolicy((style & WS_VSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        edit->setHorizontalScrollBarPolicy((style & WS_HSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        edit->setFrameShape(framed ? QFrame::StyledPanel : QFrame::NoFrame);
        QTextCursor cursor(edit->document());
        cursor.setPosition(map.toQt(start));
        cursor.setPosition(map.toQt(end), QTextCursor::KeepAnchor);
        edit->setTextCursor(cursor);
        return;
    }
    auto* rich = static_cast<QTextEdit*>(widget);
    syncRichText(hwnd, rich);
    rich->setFrameShape(framed ? QFrame::StyledPanel : QFrame::NoFrame);
}

void syncLists(HWND hwnd, MirrorKind kind, QWidget* widget)
{
    const DWORD style = styleOf(hwnd);
    if (kind == MirrorKind::ComboBox) {
        auto* combo = static_cast<QComboBox*>(widget);
        const QStringList texts = itemTexts(hwnd, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
        bool same = combo->count() == texts.size();
        for (int i = 0; same && i < texts.size(); ++i)
            same = combo->itemText(i) == texts[i];
        if (!same) {
            combo->clear();
            combo->addItems(texts);
        }
        combo->setCurrentIndex(static_cast<int>(SendMessage(hwnd, CB_GETCURSEL)));
        return;
    }
    if (kind == MirrorKind::ListBox) {
        auto* list = static_cast<QListWidget*>(widget);
        syncListWidget(list, itemTexts(hwnd, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT));
        const bool multiple = (style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
        list->setSelectionMode(multiple ? QAbstractItemView::MultiSelection : QAbstractItemView::SingleSelection);
        if (multiple) {
            for (int i = 0; i < list->count(); ++i)
                list->item(i)->setSelected(SendMessage(hwnd, LB_GETSEL, static_cast<WPARAM>(i)) > 0);
        } else {
            const int current = static_cast<int>(SendMessage(hwnd, LB_GETCURSEL));
            list->clearSelection();
            if (current >= 0 && current < list->count())
                list->setCurrentRow(current);
        }
        return;
    }
    if (kind == MirrorKind::TabControl) {
        QTabBar* bar = static_cast<TabFrame*>(widget)->bar();
        const LRESULT n = SendMessage(hwnd, TCM_GETITEMCOUNT);
        QStringList texts;
        for (LRESULT i = 0; i < n; ++i) {
            char buffer[kItemTextBuffer] = {};
            TCITEM tab;
            tab.mask = TCIF_TEXT;
            tab.pszText = buffer;
            tab.cchTextMax = kItemTextBuffer;
            SendMessage(hwnd, TCM_GETITEM, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tab));
            texts.push_back(QString::fromUtf8(buffer));
        }
        while (bar->count() > texts.size())
            bar->removeTab(bar->count() - 1);
        for (int i = 0; i < texts.size(); ++i) {
            if (i < bar->count())
                bar->setTabText(i, texts[i]);
            else
                bar->addTab(texts[i]);
        }
        bar->setCurrentIndex(static_cast<int>(SendMessage(hwnd, TCM_GETCURSEL)));
        return;
    }
    const int count = static_cast<int>(SendMessage(hwnd, LVM_GETITEMCOUNT));
    auto isSelected = [hwnd](int i) {
        return (SendMessage(hwnd, LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_SELECTED) & LVIS_SELECTED) != 0;
    };
    if (kind == MirrorKind::IconList) {
        auto* list = static_cast<QListWidget*>(widget);
        const bool icons = (style & LVS_TYPEMASK) == LVS_ICON;
        list->setViewMode(icons ? QListView::IconMode : QListView::ListMode);
        QStringList texts;
        for (int i = 0; i < count; ++i)
            texts.push_back(listViewText(hwnd, i, 0));
        syncListWidget(list, texts);
        QSize iconSize;
        HIMAGELIST images = listViewImages(hwnd, iconSize);
        if (images != nullptr && list->iconSize() != iconSize)
            list->setIconSize(iconSize);
        for (int i = 0; i < list->count(); ++i) {
            setIconIfChanged(list->item(i), listViewIcon(hwnd, images, i));
            list->item(i)->setSelected(isSelected(i));
        }
        return;
    }
    auto* tree = static_cast<QTreeWidget*>(widget);
    QStringList headers;
    QList<int> widths;
    constexpr int kMaxColumns = 256;
    for (int c = 0; c < kMaxColumns; ++c) {
        char buffer[kItemTextBuffer] = {};
        LVCOLUMN column;
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = buffer;
        column.cchTextMax = kItemTextBuffer;
        if (!SendMessage(hwnd, LVM_GETCOLUMN, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column)))
            break;
        headers.push_back(QString::fromUtf8(buffer));
        widths.push_back(column.cx);
    }
    const int columns = std::max<int>(1, static_cast<int>(headers.size()));
    tree->setColumnCount(columns);
    tree->setHeaderLabels(headers);
    tree->setHeaderHidden((style & LVS_NOCOLUMNHEADER) != 0);
    for (int c = 0; c < widths.size(); ++c)
        tree->setColumnWidth(c, widths[c]);
    while (tree->topLevelItemCount() > count)
        delete tree->takeTopLevelItem(tree->topLevelItemCount() - 1);
    QSize iconSize;
    HIMAGELIST images = listViewImages(hwnd, iconSize);
    if (images != nullptr && tree->iconSize() != iconSize)
        tree->setIconSize(iconSize);
    for (int i = 0; i < count; ++i) {
        QTreeWidgetItem* item = tree->topLevelItem(i);
        if (item == nullptr)
            item = new QTreeWidgetItem(tree);
        const QIcon icon = listViewIcon(hwnd, images, i);
        if (item->icon(0).cacheKey() != icon.cacheKey())
            item->setIcon(0, icon);
        for (int c = 0; c < columns; ++c) {
            const QString text = listViewText(hwnd, i, c);
            if (item->text(c) != text)
                item->setText(c, text);
        }
        item->setSelected(isSelected(i));
    }
}

void syncLabel(HWND hwnd, QLabel* label)
{
    const DWORD style = styleOf(hwnd);
    const DWORD type = style & SS_TYPEMASK;
    if (type == SS_BITMAP || type == SS_ICON) {
        label->setPixmap(imageOf(hwnd, STM_GETIMAGE, type == SS_ICON));
        label->setAlignment((style & SS_CENTERIMAGE) ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
        return;
    }
    if (type == SS_ETCHEDFRAME) {
        label->setFrameStyle(QFrame::Box | QFrame::Sunken);
        return;
    }
    if (type == SS_BLACKRECT) {
        label->setAutoFillBackground(true);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, Qt::black);
        label->setPalette(palette);
        return;
    }
    const QString text = withoutMnemonics(toQt(GetWindowText(hwnd)));
    if (label->text() != text)
        label->setText(text);
    label->setTextFormat(Qt::PlainText);
    Qt::Alignment align = type == SS_CENTER ? Qt::AlignHCenter : type == SS_RIGHT ? Qt::AlignRight : Qt::AlignLeft;
    align |= (style & SS_CENTERIMAGE) ? Qt::AlignVCenter : Qt::AlignTop;
    label->setAlignment(align);
    label->setWordWrap(type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT);
    label->setFrameStyle((style & SS_SUNKEN) ? (QFrame::Panel | QFrame::Sunken) : QFrame::NoFrame);
}

// --- Menu bars ---------------------------------------------------------------------------------
// A top-level window's menu bar is a QMenuBar across the top of its widget, rebuilt from the layer's
// menu whenever its description changes. A pick goes back as the scripted user's pick does
// (kxwin::pickMenuBarCommand), so the window hears WM_INITMENU and may still refuse a greyed item.

constexpr const char* kMenuBarName = "kxMenuBar";

bool isChildWindow(HWND hwnd)
{
    return (styleOf(hwnd) & WS_CHILD) != 0;
}

template <typename Target>
void addMenuItems(Target* target, QMenuBar* bar, HWND hwnd, const std::vector<kxwin::MenuTemplateItem>& items)
{
    for (const kxwin::MenuTemplateItem& item : items) {
        const bool enabled = (item.flags & (MF_GRAYED | MF_DISABLED)) == 0;
        switch (item.kind) {
        case kxwin::MenuTemplateItem::Kind::Separator:
            target->addSeparator();
            break;
        case kxwin::MenuTemplateItem::Kind::Popup: {
            auto* menu = new QMenu(toQt(item.text), bar);
            menu->setEnabled(enabled);
            addMenuItems(menu, bar, hwnd, item.items);
            target->addMenu(menu);
            break;
        }
        case kxwin::MenuTemplateItem::Kind::Command: {
            QAction* action = target->addAction(toQt(item.text));
            action->setEnabled(enabled);
            action->setCheckable((item.flags & MF_CHECKED) != 0);
            action->setChecked((item.flags & MF_CHECKED) != 0);
            const UINT command = item.id;
            QObject::connect(action, &QAction::triggered, bar, [hwnd, command] {
                if (!IsWindow(hwnd))
                    return;
                kxwin::pickMenuBarCommand(hwnd, command);
                PumpMessages();
                if (WindowMirror* mirror = installedMirror(); mirror != nullptr && mirror->afterChange)
                    mirror->afterChange();
            });
            break;
        }
        }
    }
}

// Shows the window's menu bar on its widget; true when the window has one.
bool syncMenuBar(HWND hwnd, QWidget* window)
{
    HMENU menu = GetMenu(hwnd);
    auto* bar = window->findChild<QMenuBar*>(kMenuBarName, Qt::FindDirectChildrenOnly);
    if (menu == nullptr) {
        if (bar != nullptr) {
            bar->hide();
            bar->deleteLater();
        }
        window->setProperty("kxMenuBarShown", false);
        return false;
    }
    if (bar == nullptr) {
        bar = new QMenuBar(window);
        bar->setObjectName(kMenuBarName);
        bar->setNativeMenuBar(false);
        bar->show();
    }
    bar->setGeometry(0, 0, window->width(), kMenuBarHeight);
    window->setProperty("kxMenuBarShown", true);
    const QString description = toQt(kxwin::describeMenu(menu));
    if (bar->property("kxMenu").toString() == description)
        return true;
    bar->setProperty("kxMenu", description);
    // Later, not now: the pick that changed the menu may still be running in one of these actions.
    for (QAction* action : bar->actions()) {
        bar->removeAction(action);
        if (QMenu* sub = action->menu())
            sub->deleteLater();
        else
            action->deleteLater();
    }
    addMenuItems(bar, bar, hwnd, kxwin::menuTemplateOf(menu).items);
    return true;
}

} // namespace

int menuBarOffset(HWND hwnd)
{
    if (!isChildWindow(hwnd))
        return 0;
    HWND parent = GetParent(hwnd);
    return parent != nullptr && !isChildWindow(parent) && GetMenu(parent) != nullptr ? kMenuBarHeight : 0;
}

void MirrorComboBox::showPopup()
{
    // The layer opens its list first (its owner may fill it now) and decides: Qt's list shows only
    // while the layer's is open.
    if (onPopup && !onPopup(true))
        return;
    if (!view()->isVisible())
        QComboBox::showPopup();
}

void MirrorComboBox::hidePopup()
{
    QComboBox::hidePopup();
    if (onPopup)
        onPopup(false);
}

QWidget* createControlWidget(HWND hwnd, MirrorKind kind, QWidget* parent)
{
    switch (kind) {
    case MirrorKind::Window:
    case MirrorKind::Painted: {
        auto* canvas = new LayerCanvas(hwnd, parent);
        if (parent == nullptr)
            canvas->setWindowFlag(Qt::Window);
        return canvas;
    }
    case MirrorKind::Dialog:
        return new LayerDialog(hwnd);
    case MirrorKind::PushButton: {
        auto* button = new QPushButton(parent);
        button->setAutoDefault(false);
        return button;
    }
    case MirrorKind::CheckBox:
        return new QCheckBox(parent);
    case MirrorKind::RadioButton: {
        auto* radio = new QRadioButton(parent);
        radio->setAutoExclusive(false);  // the layer keeps the group
        return radio;
    }
    case MirrorKind::GroupBox: {
        auto* group = new QGroupBox(parent);
        group->setAttribute(Qt::WA_TransparentForMouseEvents);
        return group;
    }
    case MirrorKind::LineEdit:
        return new QLineEdit(parent);
    case MirrorKind::TextEdit:
        return new QPlainTextEdit(parent);
    case MirrorKind::RichText: {
        auto* rich = new QTextEdit(parent);
        rich->setReadOnly(true);
        return rich;
    }
    case MirrorKind::ComboBox:
        return new MirrorComboBox(parent);
    case MirrorKind::ListBox:
        return new QListWidget(parent);
    case MirrorKind::TabControl:
        return new TabFrame(parent);
    case MirrorKind::IconList: {
        auto* list = new QListWidget(parent);
        list->setMovement(QListView::Static);
        list->setResizeMode(QListView::Adjust);
        list->setWrapping(true);
        return list;
    }
    case MirrorKind::ReportList: {
        auto* tree = new QTreeWidget(parent);
        tree->setRootIsDecorated(false);
        tree->setUniformRowHeights(true);
        tree->setSelectionMode(QAbstractItemView::MultiSelection);
        return tree;
    }
    case MirrorKind::Label:
        return new QLabel(parent);
    case MirrorKind::Adapter:
    case MirrorKind::Unmirrored:
        break;
    }
    return nullptr;
}

void syncControlWidget(HWND hwnd, MirrorKind kind, QWidget* widget)
{
    const DWORD style = styleOf(hwnd);
    const bool topLevel = widget->isWindow();
    const RECT r = topLevel ? [hwnd] {
        RECT screen;
        GetWindowRect(hwnd, screen);
        return screen;
    }()
                            : GetWindowRectInParent(hwnd);
    // A menu bar takes room above the client area: the widget grows by it, its children move down.
    const int menuBar = topLevel && GetMenu(hwnd) != nullptr ? kMenuBarHeight : 0;
    const QRect geometry(r.left, r.top + menuBarOffset(hwnd), std::max<int>(0, r.width()),
                         std::max<int>(0, r.height()) + menuBar);
    if (widget->geometry() != geometry)
        widget->setGeometry(geometry);
    const QFont font = fontForWindow(hwnd);
    if (widget->font() != font)
        widget->setFont(font);
    widget->setEnabled((style & WS_DISABLED) == 0);
    // Qt hands a move without a button only to a widget that follows the mouse, and to no parent.
    // The layer gives the mouse over a disabled control or a plain label to what lies beneath (the
    // dialog designer sets its cursors there), so those follow it, as dialogs do.
    const bool passesMouseOn = (style & WS_DISABLED) != 0 || kind == MirrorKind::Label;
    if (kind != MirrorKind::Dialog && widget->hasMouseTracking() != passesMouseOn)
        widget->setMouseTracking(passesMouseOn);

    switch (kind) {
    case MirrorKind::PushButton:
    case MirrorKind::CheckBox:
    case MirrorKind::RadioButton:
    case MirrorKind::GroupBox:
        syncButton(hwnd, kind, widget);
        break;
    case MirrorKind::LineEdit:
    case MirrorKind::TextEdit:
    case MirrorKind::RichText:
        syncEdit(hwnd, kind, widget);
        break;
    case MirrorKind::ComboBox:
    case MirrorKind::ListBox:
    case MirrorKind::TabControl:
    case MirrorKind::IconList:
    case MirrorKind::ReportList:
        syncLists(hwnd, kind, widget);
        break;
    case MirrorKind::Label:
        syncLabel(hwnd, static_cast<QLabel*>(widget));
        break;
    case MirrorKind::Window:
    case MirrorKind::Dialog:
    case MirrorKind::Painted:
        widget->update();
        break;
    case MirrorKind::Adapter:
    case MirrorKind::Unmirrored:
        break;
    }

    if (topLevel) {
        syncMenuBar(hwnd, widget);
        widget->setWindowTitle(toQt(GetWindowText(hwnd)));
        const bool visible = (style & WS_VISIBLE) != 0;
        if (visible && !widget->isVisible())
            widget->show();
        else if (!visible && widget->isVisible())
            widget->hide();
    } else {
        widget->setVisible((style & WS_VISIBLE) != 0);
    }
    if (kind == MirrorKind::ComboBox) {
        // The layer's list opened or closed (CB_SHOWDROPDOWN, the scripted user): Qt's list follows.
        // A combo box not on screen shows no list; it opens when the combo shows while still dropped.
        auto* combo = static_cast<QComboBox*>(widget);
        const bool dropped = SendMessage(hwnd, CB_GETDROPPEDSTATE) != 0;
        const bool shown = combo->view()->isVisible();
        if (dropped && !shown && combo->isVisible())
            combo->showPopup();
        else if (shown && (!dropped || !combo->isVisible()))
            combo->hidePopup();
    }
}

std::optional<std::pair<int, int>> widgetSelection(HWND hwnd, QWidget* widget)
{
    if (widget == nullptr)
        return std::nullopt;
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        const TextMap map(GetWindowText(hwnd), false);
        if (!edit->hasSelectedText()) {
            const int at = map.toLayer(edit->cursorPosition());
            return std::pair{at, at};
        }
        const int start = edit->selectionStart();
        return std::pair{map.toLayer(start), map.toLayer(start + static_cast<int>(edit->selectedText().size()))};
    }
    QTextCursor cursor;
    if (auto* plain = qobject_cast<QPlainTextEdit*>(widget))
        cursor = plain->textCursor();
    else if (auto* rich = qobject_cast<QTextEdit*>(widget))
        cursor = rich->textCursor();
    else
        return std::nullopt;
    const TextMap map(GetWindowText(hwnd), true);
    return std::pair{map.toLayer(cursor.selectionStart()), map.toLayer(cursor.selectionEnd())};
}

} // namespace kxqt
