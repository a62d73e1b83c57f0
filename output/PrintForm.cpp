#include "output/PrintForm.h"

#include "app/ErrorReport.h"
#include "app/FormKit.h"
#include "app/MainForm.h"
#include "app/Prompts.h"

#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

namespace {
const char* kTag = "Tag";
constexpr int kMarginMmTenths = 100; // 10 mm around the band
} // namespace

TPageView::TPageView(const TReportPages& doc, QWidget* parent) : QWidget(parent), m_doc(doc) {
    setObjectName(QStringLiteral("pageView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(sizeHint());
}

void TPageView::setPageIndex(int index) {
    m_index = index;
    update();
}

QSize TPageView::sizeHint() const {
    // The page at its printed size on this screen (zoom 100).
    const TReportUnits& u = m_doc.units;
    return {RoundHalfEven(qint64(u.PageWidthPx()) * logicalDpiX(), u.dpiX),
            RoundHalfEven(qint64(u.PageHeightPx()) * logicalDpiY(), u.dpiY)};
}

void TPageView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (m_index < 0 || m_index >= m_doc.pages.size())
        return;
    painter.translate(RoundHalfEven(qint64(logicalDpiX()) * kMarginMmTenths, 254),
                      RoundHalfEven(qint64(logicalDpiY()) * kMarginMmTenths, 254));
    PaintReportPage(painter, m_doc, m_index);
}

TfrmPrint::TfrmPrint(const TReportPages& pages, Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_pages(pages), m_prompts(prompts) {
    setObjectName(QStringLiteral("frmPrint"));
    setWindowTitle(QStringLiteral("打印"));
    setFont(WindowFont());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    CoolBar1 = new QFrame(this);
    CoolBar1->setObjectName(QStringLiteral("CoolBar1"));
    CoolBar1->setFrameShape(QFrame::StyledPanel);
    CoolBar1->setFrameShadow(QFrame::Raised);
    auto* barLayout = new QHBoxLayout(CoolBar1);
    barLayout->setContentsMargins(2, 2, 2, 2);
    pnlPageButtons = new QWidget(CoolBar1);
    pnlPageButtons->setObjectName(QStringLiteral("pnlPageButtons"));
    pnlPageButtons->setFixedSize(5 * 78, 23);
    barLayout->addWidget(pnlPageButtons);
    barLayout->addStretch(1);

    auto button = [this](const QString& name, const QString& text, int index, QStyle::StandardPixmap icon,
                         const QKeySequence& key) {
        auto* b = new QToolButton(pnlPageButtons);
        b->setObjectName(name);
        b->setText(text);
        b->setAutoRaise(true);
        b->setGeometry(78 * index, 0, 78, 23);
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setIconSize(QSize(16, 16));
        if (icon != QStyle::SP_CustomBase)
            b->setIcon(style()->standardIcon(icon));
        b->setFocusPolicy(Qt::NoFocus);
        // A shortcut of its own: a button's shortcut clicks only after its press animation.
        b->setToolTip(QStringLiteral("%1 (%2)").arg(text, key.toString(QKeySequence::NativeText)));
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, b, &QToolButton::click);
        return b;
    };
    btnFirstPage = button(QStringLiteral("btnFirstPage"), QStringLiteral("最前页"), 0,
                          QStyle::SP_MediaSkipBackward, QKeySequence(Qt::Key_Home));
    btnPrevPage = button(QStringLiteral("btnPrevPage"), QStringLiteral("上一页"), 1, QStyle::SP_ArrowLeft,
                         QKeySequence(Qt::Key_PageUp));
    btnNextPage = button(QStringLiteral("btnNextPage"), QStringLiteral("下一页"), 2, QStyle::SP_ArrowRight,
                         QKeySequence(Qt::Key_PageDown));
    btnLastPage = button(QStringLiteral("btnLastPage"), QStringLiteral("最后页"), 3,
                         QStyle::SP_MediaSkipForward, QKeySequence(Qt::Key_End));
    btnPrint = button(QStringLiteral("btnPrint"), QStringLiteral("打印 (A4)"), 4, QStyle::SP_CustomBase,
                      QKeySequence(QKeySequence::Print));
    const QIcon printIcon = QIcon::fromTheme(QStringLiteral("document-print"));
    if (!printIcon.isNull())
        btnPrint->setIcon(printIcon);
    int tag = 0;
    for (QToolButton* b : {btnFirstPage, btnPrevPage, btnNextPage, btnLastPage}) {
        b->setProperty(kTag, tag++);
        connect(b, &QToolButton::clicked, this, GuardedSlot([this, b] { btnFirstPageClick(b); }));
    }
    connect(btnPrint, &QToolButton::clicked, this, GuardedSlot([this] { btnPrintClick(); }));
    layout->addWidget(CoolBar1);

    QRPreview1 = new QScrollArea(this);
    QRPreview1->setObjectName(QStringLiteral("QRPreview1"));
    QRPreview1->setBackgroundRole(QPalette::Dark);
    QRPreview1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    pageView = new TPageView(m_pages, QRPreview1);
    QRPreview1->setWidget(pageView);
    QRPreview1->setFocusPolicy(Qt::StrongFocus);
    layout->addWidget(QRPreview1, 1);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFixedHeight(21);
    StatusBar1->setSizeGripEnabled(false);
    lblStatus = new QLabel(QStringLiteral("#"), StatusBar1);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    StatusBar1->addWidget(lblStatus, 1); // the one panel spans the bar
    layout->addWidget(StatusBar1);

    FormCreate();
}

void TfrmPrint::FormCreate() {
    // Over the desktop work area of the screen the main window is on.
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen)
        setGeometry(screen->availableGeometry());
}

int TfrmPrint::currentPage() const {
    return pageView->pageIndex() + 1;
}

int TfrmPrint::pageCount() const {
    return int(m_pages.pages.size());
}

void TfrmPrint::showPage(int number) {
    if (number < 1 || number > pageCount())
        return;
    pageView->setPageIndex(number - 1);
    QRPreview1->ensureVisible(0, 0);
}

void TfrmPrint::btnFirstPageClick(QObject* sender) {
    if (sender && sender->property(kTag).isValid()) {
        switch (sender->property(kTag).toInt()) {
        case 0:
            showPage(1);
            break;
        case 1:
            showPage(currentPage() - 1);
            break;
        case 2:
            showPage(currentPage() + 1);
            break;
        case 3:
            showPage(pageCount());
            break;
        default:
            break;
        }
    }
    lblStatus->setText(QStringLiteral("第 %1 页 / 共 %2 页").arg(currentPage()).arg(pageCount()));
}

void TfrmPrint::btnPrintClick() {
    BusyGuard busy(btnPrint);
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Zendrel"));
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("dlgPrint"));
    dialog.setMinMax(1, pageCount());
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintShowPageSize);
    if (m_prompts.exec(&dialog) != QDialog::Accepted)
        return;
    // Whatever paper or orientation was picked, the report is laid out for A4 portrait.
    const int copies = printer.supportsMultipleCopies() ? 1 : printer.copyCount();
    try {
        PrintReport(printer, m_pages, copies);
    } catch (const FileError&) {
        if (printer.outputFileName().isEmpty())
            throw;
        throw FileError(
            QStringLiteral("无法打印到文件 %1。").arg(QDir::toNativeSeparators(printer.outputFileName())));
    }
}

void TfrmPrint::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Now that the window exists its frame is known: the frame, not only the inside, fills the area.
    const QScreen* screen = this->screen();
    if (screen && windowHandle())
        setGeometry(screen->availableGeometry().marginsRemoved(windowHandle()->frameMargins()));
    btnFirstPageClick(nullptr);
}

void ShowPrintPreview(TfrmMain& main, const TReportPages& pages) {
    TfrmPrint dialog(pages, main.prompts(), &main);
    main.prompts().exec(&dialog);
}
