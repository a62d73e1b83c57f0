#include "app/HiClass.h"

#include <QPushButton>
#include <QWidget>

void THi::MakeButtonsFlat(QObject* component)
{
    auto* window = qobject_cast<QWidget*>(component);
    if (!window || !window->isWindow())
        return;
    // A flat two-dimensional button: a thin border and no bevel, still visibly a button.
    static const QString flat = QStringLiteral(
        "QPushButton { border: 1px solid #8c8c8c; border-radius: 0; background: #f7f7f7; padding: 2px 4px; }"
        "QPushButton:hover { background: #e5eefb; border-color: #5b7fb5; }"
        "QPushButton:pressed { background: #d4dcea; }"
        "QPushButton:focus { border-color: #3c64a0; }"
        "QPushButton:disabled { color: #9a9a9a; border-color: #c4c4c4; background: #f2f2f2; }");
    const auto buttons = window->findChildren<QPushButton*>();
    for (QPushButton* button : buttons) {
        button->setProperty("flat2d", true);
        button->setStyleSheet(flat);
        button->update();
    }
}
