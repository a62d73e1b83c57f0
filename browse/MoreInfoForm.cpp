#include "browse/MoreInfoForm.h"

#include "app/FormKit.h"
#include "app/ReportView.h"

TfrmMoreInfo::TfrmMoreInfo(QWidget* parent)
    : QDialog(parent, kFixedDialogFlags)
{
    setObjectName(QStringLiteral("frmMoreInfo"));
    setFont(WindowFont());
    setFixedSize(631, 453);

    AddBevel(this, QRect(8, 8, 615, 432));
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
