#include "browse/MoreInfoForm.h"

#include "app/ReportView.h"

#include <QFrame>

TfrmMoreInfo::TfrmMoreInfo(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint |
                          Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("frmMoreInfo"));
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);
    setFixedSize(631, 453);

    auto* bvlRect = new QFrame(this);
    bvlRect->setObjectName(QStringLiteral("bvlRect"));
    bvlRect->setFrameShape(QFrame::StyledPanel);
    bvlRect->setFrameShadow(QFrame::Sunken);
    bvlRect->setGeometry(8, 8, 615, 432);
    lvwRecs = new ReportView(QStringLiteral("lvwRecs"),
                             new ReportModel({{QString(), 0},
                                              {QStringLiteral("日期"), 80},
                                              {QStringLiteral("项目"), 180},
                                              {QString(), 80, Qt::AlignRight},
                                              {QStringLiteral("备注"), 220}}),
                             this);
    lvwRecs->setGeometry(20, 20, 592, 407);
    lvwRecs->setSelectionShownWithoutFocus(false);
}
