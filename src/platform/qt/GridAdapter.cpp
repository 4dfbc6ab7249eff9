// The grid as a QTableView. The model keeps no cells: every data() call asks the grid for one cell,
// so a sheet of any size costs nothing until its cells are seen. Sizes and joined blocks are read for
// the rows and columns on screen only. What a person does goes back to the grid as the scripted
// user's input: mouse messages at the grid's own client pixels, keys, characters and KXM_USER_PICK,
// so the grid sends its owner the same notifications as in headless runs.
#include "platform/qt/GridAdapter.h"

#include "platform/grid/Spread.h"
#include "platform/qt/MirrorControls.h"
#include "platform/win/Bitmap.h"
#include "platform/win/UserAgent.h"
#include "platform/win/UserInput.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>

#include <algorithm>
#include <set>
#include <string>
#include <utility>

namespace kxqt {

namespace {

constexpr int kTypeRole = Qt::UserRole + 1;
constexpr int kPickRole = Qt::UserRole + 2;
constexpr int kPictureRole = Qt::UserRole + 3;

std::string cellText(HWND hwnd, int col, int row)
{
    const int length = SSGetDataLen(hwnd, col, row);
    if (length <= 0)
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = SSGetData(hwnd, col, row, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return text;
}

QString toQt(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QColor colourOf(COLORREF c)
{
    if (c & SS_SYSCOLOR_FLAG)
        c = (c & 0xFF) == 15 ? 0xC0C0C0 : 0x000000;  // 3-D face; window text
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

QPixmap pixmapOf(const std::shared_ptr<const kxwin::BitmapPixels>& pixels)
{
    if (!pixels || pixels->empty())
        return {};
    const QImage image(pixels->rgba.data(), pixels->width, pixels->height, pixels->width * 4, QImage::Format_RGBA8888);
    return QPixmap::fromImage(image.copy());
}

int gridColWidth(HWND hwnd, int col)
{
    int px = 0;
    SSGetColWidthInPixels(hwnd, col, &px);
    return px;
}

int gridRowHeight(HWND hwnd, int row)
{
    int px = 0;
    SSGetRowHeightInPixels(hwnd, row, &px);
    return px;
}

void pressKey(HWND hwnd, int vk, WPARAM ch = 0)
{
    SetKeyDown(vk, true);
    kxwin::sendUserInput(hwnd, WM_KEYDOWN, static_cast<WPARAM>(vk), 1);
    if (ch != 0 && IsWindow(hwnd))
        kxwin::sendUserInput(hwnd, WM_CHAR, ch, 1);
    if (IsWindow(hwnd))
        kxwin::sendUserInput(hwnd, WM_KEYUP, static_cast<WPARAM>(vk), 1);
    SetKeyDown(vk, false);
}

// ---------------------------------------------------------------------------------------------------

class GridModel : public QAbstractTableModel {
public:
    GridModel(HWND hwnd, QObject* parent) : QAbstractTableModel(parent), m_hwnd(hwnd) { readCounts(); }

    // The grid changed: new counts reset the model (true), anything else repaints what is on screen.
    bool refresh()
    {
        const int rows = std::max(0, SSGetMaxRows(m_hwnd));
        const int cols = std::max(0, SSGetMaxCols(m_hwnd));
        if (rows != m_rows || cols != m_cols) {
            beginResetModel();
            readCounts();
            endResetModel();
            return true;
        }
        if (m_rows > 0 && m_cols > 0)
            emit dataChanged(index(0, 0), index(m_rows - 1, m_cols - 1));
        if (m_cols > 0)
            emit headerDataChanged(Qt::Horizontal, 0, m_cols - 1);
        if (m_rows > 0)
            emit headerDataChanged(Qt::Vertical, 0, m_rows - 1);
        return false;
    }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : m_rows; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : m_cols; }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        const int col = index.column() + 1;
        const int row = index.row() + 1;
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole: {
            const int type = SSGetCellType(m_hwnd, col, row);
            if (role == Qt::DisplayRole && type == SS_TYPE_PICTURE)
                return {};
            if (role == Qt::DisplayRole && (type == SS_TYPE_CHECKBOX || type == SS_TYPE_BUTTON)) {
                SS_CELLTYPE record;
                SSGetCellTypeRecord(m_hwnd, col, row, &record);
                return toQt(record.text);
            }
            return toQt(cellText(m_hwnd, col, row));
        }
        case Qt::CheckStateRole:
            if (SSGetCellType(m_hwnd, col, row) != SS_TYPE_CHECKBOX)
                return {};
            return cellText(m_hwnd, col, row) == "1" ? Qt::Checked : Qt::Unchecked;
        case Qt::FontRole: {
            LOGFONT font;
            if (!SSGetFont(m_hwnd, col, row, &font))
                return {};
            return fontFor(font);
        }
        case Qt::BackgroundRole:
        case Qt::ForegroundRole: {
            // As the grid paints: the cell's colours, over which a locked cell under protection
            // takes the grid's lock colours (each unless it is SS_COLOR_KEEP).
            COLORREF back = SS_COLOR_KEEP, fore = SS_COLOR_KEEP;
            SSGetColor(m_hwnd, col, row, &back, &fore);
            if (SSGetBool(m_hwnd, SSB_PROTECT) && SSGetLock(m_hwnd, col, row)) {
                COLORREF lockBack = SS_COLOR_KEEP, lockFore = SS_COLOR_KEEP;
                kxgrid::lockColors(m_hwnd, &lockBack, &lockFore);
                if (lockBack != SS_COLOR_KEEP)
                    back = lockBack;
                if (lockFore != SS_COLOR_KEEP)
                    fore = lockFore;
            }
            const COLORREF c = role == Qt::BackgroundRole ? back : fore;
            if (c != SS_COLOR_KEEP)
                return colourOf(c);
            return {};
        }
        case Qt::TextAlignmentRole: {
            SS_CELLTYPE record;
            SSGetCellTypeRecord(m_hwnd, col, row, &record);
            Qt::Alignment align = Qt::AlignLeft;
            if (record.type == SS_TYPE_NUMBER)
                align = (record.style & SS_NUMBER_CENTRE) ? Qt::AlignHCenter
                        : (record.style & SS_NUMBER_RIGHT) ? Qt::AlignRight
                                                           : Qt::AlignLeft;
            else if (record.type == SS_TYPE_STATICTEXT && (record.style & SS_STATIC_CENTRE))
                align = Qt::AlignHCenter;
            return QVariant::fromValue(align | Qt::AlignVCenter);
        }
        case kTypeRole:
            return SSGetCellType(m_hwnd, col, row);
        case kPictureRole: {
            SS_CELLTYPE record;
            SSGetCellTypeRecord(m_hwnd, col, row, &record);
            if (record.type != SS_TYPE_PICTURE)
                return {};
            QPixmap picture;
            // The pixels the cell kept: they outlive the file and the handle it was made from.
            if (record.pixels && !record.pixels->empty())
                picture = pixmapOf(record.pixels);
            else if (!record.pictureFile.empty())
                picture.load(toQt(record.pictureFile));
            else if (record.picture1 != nullptr)
                picture = (record.style & SS_PICTURE_ICON)
                              ? pixmapOf(kxwin::iconPixels(static_cast<HICON>(record.picture1)))
                              : pixmapOf(kxwin::bitmapPixels(static_cast<HBITMAP>(record.picture1)));
            return picture;
        }
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole)
            return QAbstractTableModel::headerData(section, orientation, role);
        return orientation == Qt::Horizontal ? toQt(kxgrid::headerLabel(m_hwnd, section + 1, 0))
                                             : toQt(kxgrid::headerLabel(m_hwnd, 0, section + 1));
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        if (!index.isValid())
            return Qt::NoItemFlags;
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        const int col = index.column() + 1;
        const int row = index.row() + 1;
        const int type = SSGetCellType(m_hwnd, col, row);
        const bool locked = SSGetBool(m_hwnd, SSB_PROTECT) && SSGetLock(m_hwnd, col, row);
        if (!locked && (type == SS_TYPE_EDIT || type == SS_TYPE_NUMBER || type == SS_TYPE_COMBOBOX))
            f |= Qt::ItemIsEditable;
        return f;
    }

    // A Qt editor's result goes to the grid as typing (or a pick in a combo box).
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    std::function<bool(int col, int row)> activate;  // makes the cell the grid's active one

private:
    void readCounts()
    {
        m_rows = std::max(0, SSGetMaxRows(m_hwnd));
        m_cols = std::max(0, SSGetMaxCols(m_hwnd));
    }

    HWND m_hwnd;
    int m_rows = 0;
    int m_cols = 0;
};

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || !IsWindow(m_hwnd) || (role != Qt::EditRole && role != kPickRole))
        return false;
    const int col = index.column() + 1;
    const int row = index.row() + 1;
    if (!activate || !activate(col, row) || !IsWindow(m_hwnd))
        return false;
    if (GetFocus() != m_hwnd) {
        SetFocus(m_hwnd);
        PumpMessages();
    }
    if (role == kPickRole) {
        kxwin::sendUserInput(m_hwnd, KXM_USER_PICK, static_cast<WPARAM>(value.toInt()), 0);
        return true;
    }
    if (SSGetEditMode(m_hwnd))
        pressKey(m_hwnd, VK_ESCAPE, 0x1B);  // the grid's own editor gives way to the Qt one's text
    const QString text = value.toString();
    if (text.isEmpty()) {
        pressKey(m_hwnd, VK_DELETE);
        return true;
    }
    for (char32_t cp : text.toUcs4()) {
        if (!IsWindow(m_hwnd))
            return false;
        kxwin::sendUserInput(m_hwnd, WM_CHAR, cp, 1);
    }
    if (IsWindow(m_hwnd) && SSGetEditMode(m_hwnd))
        pressKey(m_hwnd, VK_RETURN, '\r');
    return true;
}

// ---------------------------------------------------------------------------------------------------

class GridDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const int type = index.data(kTypeRole).toInt();
        QStyle* style = option.widget ? option.widget->style() : QApplication::style();
        if (type == SS_TYPE_BUTTON) {
            paintBorders(painter, option.rect, index);
            QStyleOptionButton button;
            button.rect = option.rect.adjusted(1, 1, -1, -1);
            button.text = index.data(Qt::DisplayRole).toString();
            button.state = QStyle::State_Enabled | QStyle::State_Raised;
            button.palette = option.palette;
            button.fontMetrics = option.fontMetrics;
            style->drawControl(QStyle::CE_PushButton, &button, painter, option.widget);
            return;
        }
        QStyledItemDelegate::paint(painter, option, index);
        paintBorders(painter, option.rect, index);
        if (type == SS_TYPE_PICTURE) {
            const QPixmap picture = index.data(kPictureRole).value<QPixmap>();
            if (picture.isNull())
                return;
            painter->save();
            painter->setClipRect(option.rect);
            const QRect cell = option.rect.adjusted(1, 1, -1, -1);
            if (picture.width() > cell.width() || picture.height() > cell.height()) {
                const QPixmap scaled = picture.scaled(cell.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
                painter->drawPixmap(cell.topLeft(), scaled);
            } else {
                painter->drawPixmap(cell.topLeft(), picture);
            }
            painter->restore();
        } else if (type == SS_TYPE_COMBOBOX) {
            QStyleOption arrow;
            arrow.rect = QRect(option.rect.right() - 12, option.rect.top(), 12, option.rect.height());
            arrow.palette = option.palette;
            arrow.state = QStyle::State_Enabled;
            style->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, painter, option.widget);
        }
    }

    // The cell's borders (SSSetBorder) on its edges: solid or fine (dotted) lines of one pixel.
    void paintBorders(QPainter* painter, const QRect& r, const QModelIndex& index) const
    {
        struct Side {
            WORD side;
            QLine line;
        };
        const Side sides[] = {{SS_BORDERTYPE_LEFT, QLine(r.topLeft(), r.bottomLeft())},
                              {SS_BORDERTYPE_RIGHT, QLine(r.topRight(), r.bottomRight())},
                              {SS_BORDERTYPE_TOP, QLine(r.topLeft(), r.topRight())},
                              {SS_BORDERTYPE_BOTTOM, QLine(r.bottomLeft(), r.bottomRight())}};
        bool saved = false;
        for (const Side& side : sides) {
            WORD style = SS_BORDERSTYLE_NONE;
            COLORREF colour = 0;
            if (!SSGetBorder(m_grid, index.column() + 1, index.row() + 1, side.side, &style, &colour) ||
                style == SS_BORDERSTYLE_NONE)
                continue;
            if (!saved) {
                painter->save();
                saved = true;
            }
            QPen pen(colourOf(colour), 1);
            pen.setStyle(style == SS_BORDERSTYLE_FINE ? Qt::DotLine : Qt::SolidLine);
            pen.setCapStyle(Qt::FlatCap);
            painter->setPen(pen);
            painter->drawLine(side.line);
        }
        if (saved)
            painter->restore();
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        const int type = index.data(kTypeRole).toInt();
        if (type == SS_TYPE_EDIT || type == SS_TYPE_NUMBER) {
            auto* edit = new QLineEdit(parent);
            edit->setFrame(false);
            return edit;
        }
        if (type == SS_TYPE_COMBOBOX) {
            auto* combo = new QComboBox(parent);
            SS_CELLTYPE record;
            SSGetCellTypeRecord(m_grid, index.column() + 1, index.row() + 1, &record);
            combo->addItems(toQt(record.items).split(u'\t'));
            return combo;
        }
        return nullptr;  // check boxes, buttons, static texts and pictures take clicks, not editors
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        const QString text = index.data(Qt::EditRole).toString();
        if (auto* edit = qobject_cast<QLineEdit*>(editor))
            edit->setText(text);
        else if (auto* combo = qobject_cast<QComboBox*>(editor))
            combo->setCurrentIndex(combo->findText(text));
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
            if (edit->text() != index.data(Qt::EditRole).toString())
                model->setData(index, edit->text(), Qt::EditRole);
        } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            if (combo->currentIndex() >= 0 && combo->currentText() != index.data(Qt::EditRole).toString())
                model->setData(index, combo->currentIndex(), kPickRole);
        }
    }

    HWND m_grid = nullptr;
};

// ---------------------------------------------------------------------------------------------------

class GridView : public QTableView {
public:
    GridView(HWND hwnd, QWidget* parent) : QTableView(parent), m_hwnd(hwnd)
    {
        m_model = new GridModel(hwnd, this);
        m_model->activate = [this](int col, int row) { return activate(col, row); };
        auto* delegate = new GridDelegate(this);
        delegate->m_grid = hwnd;
        setModel(m_model);
        setItemDelegate(delegate);
        setSelectionMode(QAbstractItemView::NoSelection);  // the grid keeps the selection
        setEditTriggers(QAbstractItemView::DoubleClicked);
        setAutoScroll(false);  // the grid decides where it has scrolled to (followScroll)
        setFrameShape(QFrame::NoFrame);
        setCornerButtonEnabled(false);
        setWordWrap(false);
        horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        horizontalHeader()->setHighlightSections(false);
        verticalHeader()->setHighlightSections(false);
        verticalHeader()->setDefaultAlignment(Qt::AlignCenter);  // the grid centres header texts
        horizontalHeader()->setMinimumSectionSize(0);
        verticalHeader()->setMinimumSectionSize(0);
        connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { readVisible(); });
        connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { readVisible(); });
    }

    void syncFromGrid()
    {
        if (m_model->refresh())
            m_shownTopLeft = {0, 0};  // a reset view shows the grid's scroll position again
        const int rows = m_model->rowCount();
        const int cols = m_model->columnCount();
        horizontalHeader()->setVisible(SSGetBool(m_hwnd, SSB_SHOWCOLHEADERS) != 0);
        verticalHeader()->setVisible(SSGetBool(m_hwnd, SSB_SHOWROWHEADERS) != 0);
        horizontalHeader()->setFixedHeight(gridRowHeight(m_hwnd, 0));
        verticalHeader()->setFixedWidth(gridColWidth(m_hwnd, 0));
        if (rows > 0)
            verticalHeader()->setDefaultSectionSize(gridRowHeight(m_hwnd, rows));
        for (int c = 0; c < cols; ++c) {
            const int w = gridColWidth(m_hwnd, c + 1);
            if (horizontalHeader()->sectionSize(c) != w)
                horizontalHeader()->resizeSection(c, w);
        }
        clearSpans();
        m_spans.clear();
        readVisible();

        followScroll();
        int activeCol = 0, activeRow = 0;
        if (rows > 0 && cols > 0 && SSGetActiveCell(m_hwnd, &activeCol, &activeRow)) {
            const QModelIndex active = m_model->index(activeRow - 1, activeCol - 1);
            QItemSelection selection;
            int c1 = 0, r1 = 0, c2 = 0, r2 = 0;
            if (SSGetSelectBlock(m_hwnd, &c1, &r1, &c2, &r2)) {
                auto fix = [](int v, int count) { return v == SS_HEADER || v <= 0 ? 1 : std::min(v, count); };
                selection.select(m_model->index(fix(r1, rows) - 1, fix(c1, cols) - 1),
                                 m_model->index(fix(r2, rows) - 1, fix(c2, cols) - 1));
            } else {
                selection.select(active, active);
            }
            selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
            selectionModel()->setCurrentIndex(active, QItemSelectionModel::NoUpdate);
        }
        viewport()->update();
    }

protected:
    void mousePressEvent(QMouseEvent* event) override { mouse(event, true); }
    void mouseReleaseEvent(QMouseEvent* event) override { mouse(event, false); }
    void mouseMoveEvent(QMouseEvent*) override {}
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        const QModelIndex index = indexAt(event->position().toPoint());
        if (!index.isValid() || event->button() != Qt::LeftButton)
            return;
        if (edit(index, QAbstractItemView::DoubleClicked, event))
            return;  // the Qt editor's text comes back as typing
        POINT p{};
        if (gridPoint(index.column() + 1, index.row() + 1, p)) {
            SetKeyDown(VK_LBUTTON, true);
            kxwin::sendUserInput(m_hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(p.x, p.y));
            m_pressed = p;
            m_pressedButton = Qt::LeftButton;
        }
    }

private:
    // A press and its release on a cell: the grid's own mouse messages at the cell's place in the
    // grid's client area (wherever Qt has scrolled to).
    void mouse(QMouseEvent* event, bool press)
    {
        if (!IsWindow(m_hwnd))
            return;
        const bool left = event->button() == Qt::LeftButton;
        if (!left && event->button() != Qt::RightButton)
            return;
        if (press) {
            const QModelIndex index = indexAt(event->position().toPoint());
            POINT p{};
            if (!index.isValid() || !gridPoint(index.column() + 1, index.row() + 1, p))
                return;
            m_pressed = p;
            m_pressedButton = event->button();
            if (left)
                SetKeyDown(VK_LBUTTON, true);
            kxwin::sendUserInput(m_hwnd, left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, left ? MK_LBUTTON : MK_RBUTTON,
                                 MAKELPARAM(m_pressed.x, m_pressed.y));
        } else {
            if (m_pressedButton != event->button())
                return;
            m_pressedButton = Qt::NoButton;
            if (left)
                SetKeyDown(VK_LBUTTON, false);
            HWND target = GetCapture() != nullptr && IsWindow(GetCapture()) ? GetCapture() : m_hwnd;
            kxwin::sendUserInput(target, left ? WM_LBUTTONUP : WM_RBUTTONUP, 0, MAKELPARAM(m_pressed.x, m_pressed.y));
        }
    }

    // Makes a cell the grid's active cell as a person does: a click on it (nothing when it is active).
    bool activate(int col, int row)
    {
        int activeCol = 0, activeRow = 0;
        if (!SSGetActiveCell(m_hwnd, &activeCol, &activeRow))
            return false;
        int anchorCol = col, anchorRow = row;
        SSGetCellSpan(m_hwnd, col, row, &anchorCol, &anchorRow, nullptr, nullptr);
        if (activeCol == anchorCol && activeRow == anchorRow)
            return true;
        POINT p{};
        if (!gridPoint(anchorCol, anchorRow, p))
            return false;
        SetKeyDown(VK_LBUTTON, true);
        kxwin::sendUserInput(m_hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        SetKeyDown(VK_LBUTTON, false);
        if (IsWindow(m_hwnd))
            kxwin::sendUserInput(m_hwnd, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
        return IsWindow(m_hwnd) && SSGetActiveCell(m_hwnd, &activeCol, &activeRow) && activeCol == anchorCol &&
               activeRow == anchorRow;
    }

    // The grid's scroll position: the first row and column it draws after its headers.
    void readTopLeft()
    {
        const int rows = std::max(SSGetMaxRows(m_hwnd), 1);
        const int cols = std::max(SSGetMaxCols(m_hwnd), 1);
        int left = 1, top = 1;
        kxgrid::topLeftCell(m_hwnd, &left, &top);
        m_top = std::clamp(top, 1, rows);
        m_left = std::clamp(left, 1, cols);
    }

    // Shows the grid's first row and column at the top left when the grid has scrolled; between
    // its scrolls the view is Qt's to scroll (clicks still reach the grid at its own pixels).
    void followScroll()
    {
        readTopLeft();
        if (std::pair{m_left, m_top} == m_shownTopLeft)
            return;
        m_shownTopLeft = {m_left, m_top};
        if (m_model->rowCount() == 0 || m_model->columnCount() == 0)
            return;
        updateGeometries();  // the scroll bars' ranges for the sizes just read
        const bool perItem = verticalScrollMode() == QAbstractItemView::ScrollPerItem;
        verticalScrollBar()->setValue(perItem ? m_top - 1 : rowViewportPosition(m_top - 1) + verticalOffset());
        const bool colsPerItem = horizontalScrollMode() == QAbstractItemView::ScrollPerItem;
        horizontalScrollBar()->setValue(colsPerItem ? m_left - 1
                                                    : columnViewportPosition(m_left - 1) + horizontalOffset());
    }

    // The middle of a cell in the grid's client pixels; false when the grid cannot be clicked there
    // (above or left of what it draws, or beyond the reach of a mouse message).
    bool gridPoint(int col, int row, POINT& p)
    {
        readTopLeft();
        if (col < m_left || row < m_top)
            return false;
        int x = SSGetBool(m_hwnd, SSB_SHOWROWHEADERS) ? gridColWidth(m_hwnd, 0) : 0;
        for (int c = m_left; c < col && x < 32'000; ++c)
            x += gridColWidth(m_hwnd, c);
        int y = SSGetBool(m_hwnd, SSB_SHOWCOLHEADERS) ? gridRowHeight(m_hwnd, 0) : 0;
        for (int r = m_top; r < row && y < 32'000; ++r)
            y += gridRowHeight(m_hwnd, r);
        x += gridColWidth(m_hwnd, col) / 2;
        y += gridRowHeight(m_hwnd, row) / 2;
        if (x >= 32'000 || y >= 32'000)
            return false;
        p = POINT{x, y};
        return true;
    }

    // Row heights and joined blocks of the rows and columns on screen (a sheet may have millions).
    void readVisible()
    {
        const int rows = m_model->rowCount();
        const int cols = m_model->columnCount();
        if (rows == 0 || cols == 0)
            return;
        const int height = viewport()->height();
        int firstRow = std::max(rowAt(0), 0);
        int lastRow = firstRow;
        for (int y = 0; lastRow < rows && y <= height; ++lastRow) {
            const int h = gridRowHeight(m_hwnd, lastRow + 1);
            if (verticalHeader()->sectionSize(lastRow) != h)
                verticalHeader()->resizeSection(lastRow, h);
            y += h;
        }
        const int firstCol = std::max(columnAt(0), 0);
        const int lastColumn = columnAt(viewport()->width()) < 0 ? cols - 1 : columnAt(viewport()->width());
        for (int r = firstRow; r < lastRow; ++r) {
            for (int c = firstCol; c <= lastColumn; ++c) {
                int anchorCol = 0, anchorRow = 0, numCols = 1, numRows = 1;
                const int kind = SSGetCellSpan(m_hwnd, c + 1, r + 1, &anchorCol, &anchorRow, &numCols, &numRows);
                if (kind != SS_SPAN_ANCHOR && kind != SS_SPAN_YES)
                    continue;
                if (m_spans.insert({anchorCol, anchorRow}).second)
                    setSpan(anchorRow - 1, anchorCol - 1, numRows, numCols);
            }
        }
    }

    HWND m_hwnd;
    GridModel* m_model;
    std::set<std::pair<int, int>> m_spans;  // anchors of the joined blocks set on the view
    std::pair<int, int> m_shownTopLeft{1, 1};  // the grid's scroll position the view last showed
    int m_top = 1, m_left = 1;
    POINT m_pressed{};
    Qt::MouseButton m_pressedButton = Qt::NoButton;
};

class GridAdapter : public ControlAdapter {
public:
    QWidget* create(HWND hwnd, QWidget* parent) override { return new GridView(hwnd, parent); }
    void sync(HWND hwnd, QWidget* widget) override
    {
        syncControlWidget(hwnd, MirrorKind::Adapter, widget);
        if (auto* view = dynamic_cast<GridView*>(widget))
            view->syncFromGrid();
    }
};

} // namespace

void registerGridAdapter()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    registerControlAdapter(kGridClassName, std::make_unique<GridAdapter>());
}

} // namespace kxqt
