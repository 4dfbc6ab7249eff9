// The dialog designer.
#include "designer/ZnDlgDesigner.h"

#include "core/DialogFunctions.h"
#include "core/FileDialog.h"
#include "core/FileIO.h"
#include "core/Paths.h"
#include "core/PromptDialog.h"
#include "core/TextTables.h"
#include "designer/LayoutFiles.h"
#include "designer/ZnDlgDesignerPreview.h"
#include "platform/win/Menu.h"
#include "platform/win/Registry.h"
#include "platform/win/Backend.h"
#include "platform/win/Bitmap.h"
#include "platform/win/Cursor.h"
#include "platform/win/DrawingContext.h"
#include "platform/win/Window.h"

#include <filesystem>
#include <optional>

namespace {

constexpr int kTextClose = 285;
constexpr int kTextPanel = 836;
constexpr int kTextSaveCaption = 837;
constexpr int kTextSaveQuestion = 838;
constexpr int kTextPictures = 839;
constexpr int kTextLayouts = 840;
constexpr int kTextOpenTitle = 841;
constexpr int kTextSaveTitle = 842;
constexpr int kTextTitle = 843;
constexpr int kTextSaveFailed = 9623;
constexpr int kTextOpenFailed = 9624;
constexpr int kTextBadPicture = 9625;
constexpr int kTextPictureNotCopied = 9626;

struct PictureButton {
    int id;
    int icon;
    int tip;
};
constexpr PictureButton kPictureButtons[] = {
    {ZnDlgDesigner::kOpen, 232, 9627},  {ZnDlgDesigner::kSaveAs, 233, 9628}, {ZnDlgDesigner::kAdd, 212, 9629},
    {ZnDlgDesigner::kRemove, 206, 9630}, {ZnDlgDesigner::kCopy, 223, 9631},  {ZnDlgDesigner::kWidth, 235, 9632},
    {ZnDlgDesigner::kHeight, 236, 9633}, {ZnDlgDesigner::kPicture, 231, 9634},
    // Captioned, without a picture.
    {ZnDlgDesigner::kAlignBottoms, 0, 9635}, {ZnDlgDesigner::kStickRight, 0, 9636},
};

// The third row: captioned tools with their tips.
constexpr PictureButton kToolButtons[] = {
    {ZnDlgDesigner::kUndo, 0, 9640},    {ZnDlgDesigner::kRedo, 0, 9641},     {ZnDlgDesigner::kArrange, 0, 9642},
    {ZnDlgDesigner::kGrid, 0, 9643},    {ZnDlgDesigner::kTabOrder, 0, 9644}, {ZnDlgDesigner::kPreview, 0, 9645},
};

// The arrange menu: command and text; 0 is a separator.
struct ArrangeItem {
    int command;
    int text;
};
constexpr ArrangeItem kArrangeItems[] = {
    {ZnDlgDesigner::kAlignLeft, 9646},      {ZnDlgDesigner::kAlignRight, 9647},
    {ZnDlgDesigner::kAlignTop, 9648},       {ZnDlgDesigner::kAlignBottom, 9649},
    {ZnDlgDesigner::kCentresAcross, 9650},  {ZnDlgDesigner::kCentresDown, 9651},
    {0, 0},
    {ZnDlgDesigner::kSameWidth, 9652},      {ZnDlgDesigner::kSameHeight, 9653},
    {ZnDlgDesigner::kSameSize, 9654},
    {0, 0},
    {ZnDlgDesigner::kDistributeAcross, 9655}, {ZnDlgDesigner::kDistributeDown, 9656},
};

constexpr int kTextGridTitle = 9657;
constexpr int kTextGridPrompt = 9658;
constexpr int kTextBadGridStep = 9659;

std::string gridKey()
{
    return std::string(kxcore::kDialogSizesKey) + "\\" + ZnDlgDesigner::kSizeKey;
}

// The new control of Add: a variable edit.
constexpr Kx_ControlType kAddedType = Kx_ControlType::VariableEdit;

} // namespace

ZnDlgDesigner::ZnDlgDesigner(const Kx_String& path)
    : CDialog(kTemplateId), m_path(path), m_layout(std::make_unique<Kx_DlgDesignerData>())
{
    onCommand(kOpen, BN_CLICKED, [this] { open(); });
    onCommand(kSaveAs, BN_CLICKED, [this] { saveAs(); });
    onCommand(kAdd, BN_CLICKED, [this] { add(); });
    onCommand(kRemove, BN_CLICKED, [this] { remove(); });
    onCommand(kCopy, BN_CLICKED, [this] { copy(); });
    onCommand(kWidth, BN_CLICKED, [this] { changeSize(/*horizontal=*/true); });
    onCommand(kHeight, BN_CLICKED, [this] { changeSize(/*horizontal=*/false); });
    onCommand(kAlignBottoms, BN_CLICKED, [this] { alignBottoms(); });
    onCommand(kStickRight, BN_CLICKED, [this] { stickRight(); });
    onCommand(kPicture, BN_CLICKED, [this] { loadPicture(); });
    onCommand(kUndo, BN_CLICKED, [this] { undo(); });
    onCommand(kRedo, BN_CLICKED, [this] { redo(); });
    onCommand(kArrange, BN_CLICKED, [this] { arrange(); });
    onCommand(kGrid, BN_CLICKED, [this] { chooseGridStep(); });
    onCommand(kTabOrder, BN_CLICKED, [this] { toggleTabOrder(); });
    onCommand(kPreview, BN_CLICKED, [this] { preview(); });
    onCommand(kType, CBN_SELCHANGE, [this] { propertyChanged(); });
    onCommand(kContents, EN_CHANGE, [this] { propertyChanged(); });
    onCommand(kComboList, EN_CHANGE, [this] { propertyChanged(); });
}

ZnDlgDesigner::~ZnDlgDesigner() = default;

void ZnDlgDesigner::initializeLayout(Kx_DlgDesignerData& layout)
{
    layout.initialize(m_hWnd, kDesignerFirstResourceId, kDesignerLastResourceId, kType, kDescription, kContents, kHint,
                      kComboList, /*designerMode=*/true);
}

BOOL ZnDlgDesigner::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDOK, dialString(kTextClose).str());
    SetDlgItemText(kPanel, dialString(kTextPanel).str());
    ShowOrHideCtrl(this, IDCANCEL, false);
    initializeLayout(*m_layout);

    for (size_t n = 0; n < m_buttons.size(); ++n) {
        const PictureButton& b = kPictureButtons[n];
        if (!m_buttons[n].SubclassDlgItem(b.id, m_hWnd))
            continue;
        if (b.icon != 0)
            m_buttons[n].SetIcon(b.icon);
        m_buttons[n].SetFlat(true, false);
        m_buttons[n].SetTooltipText(dialString(b.tip).str());
    }

    for (size_t n = 0; n < m_toolButtons.size(); ++n) {
        const PictureButton& b = kToolButtons[n];
        if (!m_toolButtons[n].SubclassDlgItem(b.id, m_hWnd))
            continue;
        m_toolButtons[n].SetFlat(true, false);
        m_toolButtons[n].SetTooltipText(dialString(b.tip).str());
    }
    m_layout->setGridStep(storedGridStep());

    m_minimum = templateSize();
    // The tools and the panel keep to the right edge; the panel grows downwards; the layout itself
    // is drawn from the top-left corner and never moves.
    const CResizerEntry right = {0, {1, 0, 3}, {0, 0, 0}, {3, 0, 0}, {0, 0, 0}};
    std::vector<CResizerEntry> entries;
    for (int id : {kOpen, kSaveAs, kPicture, kAdd, kRemove, kCopy, kWidth, kHeight, kAlignBottoms, kStickRight, kType,
                   kDescription, kContents, kHint, kComboList, kUndo, kRedo, kArrange, kGrid, kTabOrder, kPreview}) {
        CResizerEntry e = right;
        e.id = id;
        entries.push_back(e);
    }
    entries.push_back({kPanel, {1, 0, 3}, {0, 0, 0}, {3, 0, 0}, {1, 0, 4}});
    entries.push_back({IDOK, {1, 0, 3}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}});
    m_resizer.attach(this, entries);
    ChangeDlgSize(this, kSizeKey, /*sizeOnly=*/false);

    if (!m_path.isEmpty()) {
        if (auto file = kxdesigner::resolveLayoutFile(m_path); file && fileExists(Kx_String(file->text))) {
            if (m_layout->readFromFile(m_path, /*withPicture=*/true))
                m_layout->redrawAllControls();
        }
    }
    m_layout->updatePropsOfCurSel();
    m_layout->clearHistory();
    m_modified = false;
    updateUndoButtons();
    setTitle();
    return TRUE;
}

void ZnDlgDesigner::setTitle()
{
    Kx_String title = dialString(kTextTitle);
    const Kx_String& name = m_layout->getName();
    if (!name.isEmpty())
        title.append(" - <").append(name).append(">");
    SetWindowText(title.str());
}

Kx_String ZnDlgDesigner::currentFolder() const
{
    if (!m_layout->getName().isEmpty()) {
        if (auto file = kxdesigner::resolveLayoutFile(m_layout->getName()))
            return Kx_String(std::filesystem::path(file->text).parent_path().string());
    }
    return getDesignerRootFolder();
}

void ZnDlgDesigner::warn(int text, const Kx_String& detail)
{
    Kx_String message = dialString(text);
    if (!detail.isEmpty())
        message.append("\n").append(detail);
    MessageBox(m_hWnd, message.str(), dialString(kTextTitle).str(), MB_OK | MB_ICONWARNING);
}

bool ZnDlgDesigner::saveTo(const Kx_String& path)
{
    if (!m_layout->writeToFile(path)) {
        warn(kTextSaveFailed);
        return false;
    }
    m_modified = false;
    m_layout->markSaved();
    setTitle();
    return true;
}

bool ZnDlgDesigner::saveAs()
{
    const Kx_String path = runFileDialog(/*open=*/false, dialString(kTextLayouts) + " (*.txt)", "txt",
                                         dialString(kTextSaveTitle), currentFolder());
    if (path.isEmpty())
        return false;
    return saveTo(path);
}

bool ZnDlgDesigner::saveQuestion()
{
    if (!m_modified)
        return true;
    Kx_String text = dialString(kTextSaveQuestion);
    text.append("\n<").append(m_layout->getName()).append(">");
    switch (MessageBox(m_hWnd, text.str(), dialString(kTextSaveCaption).str(), MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        // A layout that was never saved has no name: it gets one first, never the file ".txt".
        if (m_layout->getName().isEmpty())
            return saveAs();
        return saveTo(m_layout->getName());
    case IDNO:
        return true;
    default:
        return false;
    }
}

void ZnDlgDesigner::open()
{
    if (!saveQuestion())
        return;
    const Kx_String path = runFileDialog(/*open=*/true, dialString(kTextLayouts) + " (*.txt)", "txt",
                                         dialString(kTextOpenTitle), currentFolder());
    if (path.isEmpty())
        return;
    // Read into a layout of its own: the one shown is replaced only when the file could be read.
    auto fresh = std::make_unique<Kx_DlgDesignerData>();
    Kx_LayoutReadReport report;
    if (!fresh->readFromFile(path, /*withPicture=*/true, report)) {
        warn(kTextOpenFailed, Kx_String(report.message));
        return;
    }
    const bool tabOrderView = m_layout->isTabOrderView();
    m_layout->removeAllDrawnCtrls();
    m_layout = std::move(fresh);
    initializeLayout(*m_layout);
    m_layout->setGridStep(storedGridStep());
    m_layout->setTabOrderView(tabOrderView);
    m_layout->redrawAllControls();
    m_layout->updatePropsOfCurSel();
    m_layout->clearHistory();
    updateUndoButtons();
    m_modified = false;
    setTitle();
    Invalidate();
}

void ZnDlgDesigner::loadPicture()
{
    const Kx_String chosen = runFileDialog(/*open=*/true, dialString(kTextPictures) + " (*.bmp)", "bmp",
                                           dialString(kTextOpenTitle), getDesignerRootFolder());
    if (chosen.isEmpty())
        return;
    // The picture is tried before anything changes: a file that is no usable picture leaves the
    // layout, its name and its picture file as they were.
    {
        std::string error;
        const auto native = kx::toNativePath(chosen.view());
        CBitmap trial;
        if (!native || !trial.Attach(kxwin::loadBitmapFile(*native, &error)) || trial.size().cx <= 0
            || trial.size().cy <= 0) {
            warn(kTextBadPicture, chosen + (error.empty() ? Kx_String() : Kx_String("\n" + error)));
            return;
        }
    }
    if (m_layout->getName().isEmpty() && !saveAs())
        return;
    // The picture change is a step of its own: undo puts the old picture file back.
    std::string bytes;
    std::string error;
    const auto native = kx::toNativePath(chosen.view());
    constexpr size_t kMaxPictureFileBytes = size_t{80} << 20;
    if (!native || !kx::readFileBytes(*native, kMaxPictureFileBytes, bytes, error)
        || !m_layout->replacePicture(bytes)) {
        warn(kTextPictureNotCopied);
        return;
    }
    m_layout->updatePropsOfCurSel();
    afterEdit(true);
    Invalidate();
}

void ZnDlgDesigner::add()
{
    afterEdit(m_layout->addNewControl(kAddedType));
}

void ZnDlgDesigner::remove()
{
    if (m_layout->getSelection().empty())
        return;
    m_layout->removeCurControls();
    m_layout->updatePropsOfCurSel();
    afterEdit(true);
}

void ZnDlgDesigner::copy()
{
    const bool copied = m_layout->copyCurCtrls();
    if (copied)
        m_layout->updatePropsOfCurSel();
    afterEdit(copied);
}

void ZnDlgDesigner::changeSize(bool horizontal)
{
    const bool sized = m_layout->changeCtrlSize(horizontal);
    if (sized)
        m_layout->updatePropsOfCurSel();
    afterEdit(sized);
}

void ZnDlgDesigner::alignBottoms()
{
    afterEdit(m_layout->outlineCurCtrls());
}

void ZnDlgDesigner::stickRight()
{
    afterEdit(m_layout->stickRightCurCtrls());
}

void ZnDlgDesigner::afterEdit(bool changed)
{
    if (changed)
        m_modified = true;
    updateUndoButtons();
}

void ZnDlgDesigner::updateUndoButtons()
{
    if (HWND undo = GetDlgItem(kUndo))
        ::EnableWindow(undo, m_layout->canUndo() ? TRUE : FALSE);
    if (HWND redo = GetDlgItem(kRedo))
        ::EnableWindow(redo, m_layout->canRedo() ? TRUE : FALSE);
}

void ZnDlgDesigner::undo()
{
    travel(m_layout->undo());
}

void ZnDlgDesigner::redo()
{
    travel(m_layout->redo());
}

void ZnDlgDesigner::travel(bool moved)
{
    if (!moved)
        return;
    // Back at the layout as it was saved (or opened): nothing to save any more.
    m_modified = !m_layout->isAtSavedState();
    m_layout->updatePropsOfCurSel();
    updateUndoButtons();
    Invalidate();
}

void ZnDlgDesigner::arrange()
{
    CMenu menu;
    if (!menu.CreatePopupMenu())
        return;
    const bool two = m_layout->getSelection().size() >= 2;
    const bool three = m_layout->getSelection().size() >= 3;
    for (const ArrangeItem& item : kArrangeItems) {
        if (item.command == 0) {
            menu.AppendMenu(MF_SEPARATOR);
            continue;
        }
        const bool distribute = item.command == kDistributeAcross || item.command == kDistributeDown;
        const bool enabled = distribute ? three : two;
        menu.AppendMenu(MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), static_cast<UINT_PTR>(item.command),
                        dialString(item.text).str());
    }
    const RECT r = GetWindowRectInParent(GetDlgItem(kArrange));
    POINT at{r.left, r.bottom};
    ::ClientToScreen(m_hWnd, at);
    const int command = static_cast<int>(
        menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, m_hWnd));
    if (command != 0)
        arrangeCommand(command);
}

void ZnDlgDesigner::arrangeCommand(int command)
{
    using Edge = Kx_DlgDesignerData::AlignEdge;
    bool changed = false;
    switch (command) {
    case kAlignLeft: changed = m_layout->alignCurCtrls(Edge::Left); break;
    case kAlignRight: changed = m_layout->alignCurCtrls(Edge::Right); break;
    case kAlignTop: changed = m_layout->alignCurCtrls(Edge::Top); break;
    case kAlignBottom: changed = m_layout->alignCurCtrls(Edge::Bottom); break;
    case kCentresAcross: changed = m_layout->alignCurCtrls(Edge::CentresAcross); break;
    case kCentresDown: changed = m_layout->alignCurCtrls(Edge::CentresDown); break;
    case kSameWidth: changed = m_layout->sameSizeCurCtrls(/*width=*/true, /*height=*/false); break;
    case kSameHeight: changed = m_layout->sameSizeCurCtrls(/*width=*/false, /*height=*/true); break;
    case kSameSize: changed = m_layout->sameSizeCurCtrls(/*width=*/true, /*height=*/true); break;
    case kDistributeAcross: changed = m_layout->distributeCurCtrls(/*horizontal=*/true); break;
    case kDistributeDown: changed = m_layout->distributeCurCtrls(/*horizontal=*/false); break;
    default: return;
    }
    afterEdit(changed);
}

int ZnDlgDesigner::storedGridStep()
{
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, gridKey().c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return kDefaultGridStep;
    // One byte more than a DWORD, so a longer value is seen as what it is.
    BYTE buffer[5] = {};
    DWORD type = REG_NONE;
    DWORD size = sizeof buffer;
    const LONG rc = RegQueryValueEx(key, kGridStepValue, nullptr, &type, buffer, &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_DWORD || size != 4)
        return kDefaultGridStep;
    const DWORD value = static_cast<DWORD>(buffer[0]) | (static_cast<DWORD>(buffer[1]) << 8)
        | (static_cast<DWORD>(buffer[2]) << 16) | (static_cast<DWORD>(buffer[3]) << 24);
    return value <= static_cast<DWORD>(kMaxGridStep) ? static_cast<int>(value) : kDefaultGridStep;
}

bool ZnDlgDesigner::storeGridStep(int pixels)
{
    HKEY key = nullptr;
    if (RegCreateKeyEx(HKEY_CURRENT_USER, gridKey().c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                       nullptr, &key, nullptr)
        != ERROR_SUCCESS)
        return false;
    const auto v = static_cast<DWORD>(std::clamp(pixels, 0, kMaxGridStep));
    const BYTE bytes[4] = {static_cast<BYTE>(v & 0xFF), static_cast<BYTE>((v >> 8) & 0xFF),
                           static_cast<BYTE>((v >> 16) & 0xFF), static_cast<BYTE>((v >> 24) & 0xFF)};
    const LONG rc = RegSetValueEx(key, kGridStepValue, 0, REG_DWORD, bytes, sizeof bytes);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

void ZnDlgDesigner::chooseGridStep()
{
    const std::optional<Kx_String> answer = runPromptDialog(kTextGridTitle, kTextGridPrompt,
                                                            Kx_String(m_layout->getGridStep()), 1, 2, m_hWnd);
    if (!answer)
        return;
    int step = -1;
    if (!answer->toInt(step) || step < 0 || step > kMaxGridStep) {
        warn(kTextBadGridStep, *answer);
        return;
    }
    m_layout->setGridStep(step);
    storeGridStep(step);
}

void ZnDlgDesigner::toggleTabOrder()
{
    const bool on = !m_layout->isTabOrderView();
    m_layout->setTabOrderView(on);
    CheckDlgButton(kTabOrder, on ? BST_CHECKED : BST_UNCHECKED);
    Invalidate();
}

void ZnDlgDesigner::preview()
{
    // The positions the windows show, as the preview places them.
    ZnDlgDesignerPreview dialog(*m_layout, m_hWnd);
    dialog.DoModal();
}

bool ZnDlgDesigner::nudge(int key)
{
    int dx = 0;
    int dy = 0;
    switch (key) {
    case VK_LEFT: dx = -1; break;
    case VK_RIGHT: dx = 1; break;
    case VK_UP: dy = -1; break;
    case VK_DOWN: dy = 1; break;
    default: return false;
    }
    // The arrows belong to the panel's fields while one of them has the focus.
    HWND focus = ::GetFocus();
    if (focus != nullptr && (::GetClassName(focus) == "Edit" || ::GetClassName(focus) == "ComboBox"
                             || ::GetClassName(::GetParent(focus)) == "ComboBox"))
        return false;
    if (m_layout->getSelection().empty() || m_layout->isTabOrderView())
        return false;
    const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    const int grid = m_layout->getGridStep();
    const int step = shift ? (grid > 1 ? grid : kShiftNudge) : 1;
    afterEdit(m_layout->nudgeCurCtrls(dx * step, dy * step, /*resize=*/ctrl));
    return true;
}

void ZnDlgDesigner::propertyChanged()
{
    int i = -1;
    if (!m_layout->getCurSel(i))
        return;
    struct Buttons {
        ZnDlgDesigner& d;
        ~Buttons() { d.updateUndoButtons(); }
    } buttons{*this};
    const Kx_DesignerControl before = *m_layout->getControl(i);
    m_layout->propsOfCurSelUpdated();
    const Kx_DesignerControl* after = m_layout->getControl(i);
    if (after != nullptr
        && (after->getType() != before.getType() || !after->getContents().equal(before.getContents(), true)
            || !after->getMergedExtComboList().equal(before.getMergedExtComboList(), true)))
        m_modified = true;
}

void ZnDlgDesigner::OnOK()
{
    if (saveQuestion())
        CDialog::OnOK();
}

void ZnDlgDesigner::OnCancel()
{
    // The close box: the same question; Cancel keeps the editor open with its changes.
    if (saveQuestion())
        CDialog::OnCancel();
}

void ZnDlgDesigner::OnDestroy()
{
    WriteDlgSize(this, kSizeKey);
    m_resizer.detach();
    m_layout->removeAllDrawnCtrls();
}

BOOL ZnDlgDesigner::OnEraseBkgnd(HDC dc)
{
    m_layout->OnEraseBkgnd(dc);
    return TRUE;
}

void ZnDlgDesigner::OnPaint()
{
    CPaintDC dc(this);
    m_layout->OnPaint(dc.GetSafeHdc());
}

void ZnDlgDesigner::OnLButtonDown(UINT flags, POINT point)
{
    m_layout->OnLButtonDown(flags, point);
    m_layout->updatePropsOfCurSel();
    m_modified = true;
}

void ZnDlgDesigner::OnMouseMove(UINT flags, POINT point)
{
    m_layout->OnMouseMove(flags, point);
}

void ZnDlgDesigner::OnLButtonUp(UINT flags, POINT point)
{
    m_layout->OnLButtonUp(flags, point);
    // A rubber band chose the selection only now.
    m_layout->updatePropsOfCurSel();
    updateUndoButtons();
}

BOOL ZnDlgDesigner::OnSetCursor(HWND hwnd, UINT hitTest, UINT message)
{
    POINT at{};
    GetCursorPos(&at);
    ::ScreenToClient(m_hWnd, at);
    if (hitTest == HTCLIENT && m_layout->OnSetCursor(at))
        return TRUE;
    return CDialog::OnSetCursor(hwnd, hitTest, message);
}

BOOL ZnDlgDesigner::PreTranslateMessage(const MSG& msg)
{
    // Escape never closes the editor: a slip of the finger would throw the drawing away.
    if ((msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR) && msg.wParam == VK_ESCAPE)
        return TRUE;
    if (msg.message == WM_KEYDOWN && (msg.hwnd == m_hWnd || ::IsChild(m_hWnd, msg.hwnd))) {
        const bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
        if (ctrl && msg.wParam == 'Z') {
            undo();
            return TRUE;
        }
        if (ctrl && msg.wParam == 'Y') {
            redo();
            return TRUE;
        }
        if (nudge(static_cast<int>(msg.wParam)))
            return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}
