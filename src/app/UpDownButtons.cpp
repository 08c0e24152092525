#include "app/UpDownButtons.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace morvane::app {

UpDownButtons::UpDownButtons(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const auto& [arrow, delta, name] : {std::tuple{Qt::UpArrow, 1, "up"}, std::tuple{Qt::DownArrow, -1, "down"}}) {
        auto* button = new QToolButton(this);
        button->setObjectName(name);
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFixedSize(18, 12);
        connect(button, &QToolButton::clicked, this, [this, delta = delta] { emit Stepped(delta); });
        layout->addWidget(button);
    }
}

}  // namespace morvane::app
