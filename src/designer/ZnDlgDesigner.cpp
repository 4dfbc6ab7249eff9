// The dialog designer.
#include "designer/ZnDlgDesigner.h"

#include "core/DialogFunctions.h"
#include "core/FileDialog.h"
#include "core/FileIO.h"
#include "core/Paths.h"
#include "core/TextTables.h"
#include "designer/LayoutFiles.h"
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

    m_minimum = templateSize();
    // The tools and the panel keep to the right edge; the panel grows downwards; the layout itself
    // is drawn from the top-left corner and never moves.
    const CResizerEntry right = {0, {1, 0, 3}, {0, 0, 0}, {3, 0, 0}, {0, 0, 0}};
    std::vector<CResizerEntry> entries;
    for (int id : {kOpen, kSaveAs, kPicture, kAdd, kRemove, kCopy, kWidth, kHeight, kAlignBottoms, kStickRight, kType,
                   kDescription, kContents, kHint, kComboList}) {
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
    m_modified = false;
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
    m_layout->removeAllDrawnCtrls();
    m_layout = std::move(fresh);
    initializeLayout(*m_layout);
    m_layout->redrawAllControls();
    m_layout->updatePropsOfCurSel();
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
    const auto file = kxdesigner::resolveLayoutFile(m_layout->getName());
    if (!file)
        return;
    // The controls keep their places in pixels of the old picture as factors, then follow the new one.
    m_layout->getSizeFromAllControls();
    if (!copyFile(chosen, Kx_String(file->picture)) || !m_layout->attachBitmap(Kx_String(file->picture))) {
        warn(kTextPictureNotCopied);
        return;
    }
    m_layout->redrawAllControls();
    m_layout->updatePropsOfCurSel();
    m_modified = true;
    Invalidate();
}

void ZnDlgDesigner::add()
{
    if (m_layout->addNewControl(kAddedType))
        m_modified = true;
}

void ZnDlgDesigner::remove()
{
    if (m_layout->getSelection().empty())
        return;
    m_layout->removeCurControls();
    m_layout->updatePropsOfCurSel();
    m_modified = true;
}

void ZnDlgDesigner::copy()
{
    if (m_layout->copyCurCtrls()) {
        m_layout->updatePropsOfCurSel();
        m_modified = true;
    }
}

void ZnDlgDesigner::changeSize(bool horizontal)
{
    if (m_layout->changeCtrlSize(horizontal)) {
        m_layout->updatePropsOfCurSel();
        m_modified = true;
    }
}

void ZnDlgDesigner::alignBottoms()
{
    if (m_layout->outlineCurCtrls())
        m_modified = true;
}

void ZnDlgDesigner::stickRight()
{
    if (m_layout->stickRightCurCtrls())
        m_modified = true;
}

void ZnDlgDesigner::propertyChanged()
{
    int i = -1;
    if (!m_layout->getCurSel(i))
        return;
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
    return CDialog::PreTranslateMessage(msg);
}
