#include "app/FormKit.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

QFont WindowFont()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    return font;
}

QLabel* AddLabel(QWidget* parent, const QString& name, const QString& text, int x, int y)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->move(x, y);
    label->adjustSize();
    return label;
}

QPushButton* AddButton(QWidget* parent, const QString& name, const QString& text, const QRect& geometry,
                       bool tabStop)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    if (!tabStop)
        button->setFocusPolicy(Qt::ClickFocus);
    return button;
}

QFrame* AddBevel(QWidget* parent, const QRect& geometry)
{
    auto* bevel = new QFrame(parent);
    bevel->setObjectName(QStringLiteral("bvlRect"));
    bevel->setFrameShape(QFrame::StyledPanel);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(geometry);
    return bevel;
}

void MakeTotalLabel(QLabel* label)
{
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setStyleSheet(QStringLiteral("color: #800000;"));
}
