#pragma once
// The print preview: one page at a time over the desktop work area, paging buttons, the page
// status and printing on A4 portrait.
#include "output/ReportPages.h"

#include <QDialog>

class QFrame;
class QLabel;
class QScrollArea;
class QStatusBar;
class QToolButton;
class Prompts;
class TfrmMain;

// Draws one report page at its printed size on a sheet of paper.
class TPageView : public QWidget {
    Q_OBJECT
public:
    TPageView(const TReportPages& doc, QWidget* parent);
    void setPageIndex(int index);
    int pageIndex() const { return m_index; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const TReportPages& m_doc;
    int m_index = 0;
};

class TfrmPrint : public QDialog {
    Q_OBJECT
public:
    // The pages stay owned by the caller and must outlive the dialog.
    TfrmPrint(const TReportPages& pages, Prompts& prompts, QWidget* parent);

    QFrame* CoolBar1 = nullptr;
    QWidget* pnlPageButtons = nullptr;
    QToolButton* btnFirstPage = nullptr;
    QToolButton* btnPrevPage = nullptr;
    QToolButton* btnNextPage = nullptr;
    QToolButton* btnLastPage = nullptr;
    QToolButton* btnPrint = nullptr;
    QScrollArea* QRPreview1 = nullptr;
    TPageView* pageView = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* lblStatus = nullptr;

    // Current page, counting from 1, and the page count.
    int currentPage() const;
    int pageCount() const;

    // Shared by the four page buttons: moves to the page the sender's tag names (0 first, 1 previous,
    // 2 next, 3 last; pages outside 1..count are not taken) and shows the page status.
    void btnFirstPageClick(QObject* sender);
    // Asks for printer, copies and page range, then prints on A4 portrait.
    void btnPrintClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void showPage(int number);

    const TReportPages& m_pages;
    Prompts& m_prompts;
};

// Opens the preview for the pages, modally, through the main window's prompts.
void ShowPrintPreview(TfrmMain& main, const TReportPages& pages);
