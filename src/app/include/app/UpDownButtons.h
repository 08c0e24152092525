#pragma once

#include <QWidget>

namespace morvane::app {

// A spin control beside an edit: two small arrow buttons. It only reports clicks; the value
// editor steps the number in the edit.
class UpDownButtons : public QWidget {
    Q_OBJECT
public:
    explicit UpDownButtons(QWidget* parent = nullptr);

signals:
    void Stepped(int delta);  // +1 up, -1 down
};

}  // namespace morvane::app
