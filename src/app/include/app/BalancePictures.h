#pragma once

#include <QDialog>
#include <QWidget>
#include <functional>

#include "gameview/CombatPictures.h"

class QComboBox;
class QPainter;

namespace morvane::guicommon {
class UserPrompts;
}  // namespace morvane::guicommon

namespace morvane::app {

// Paints the shapes of a picture, in its own units, onto a painter.
void PaintPicture(QPainter& painter, const gameview::Picture& picture);
// The picture as a PNG file at twice its size; false when it cannot be written.
bool SavePicturePng(const gameview::Picture& picture, const QString& path);
// The picture as an SVG file; false when it cannot be written.
bool SavePictureSvg(const gameview::Picture& picture, const QString& path);

// A picture scaled to the widget, its proportions kept.
class PictureView : public QWidget {
    Q_OBJECT
public:
    explicit PictureView(QWidget* parent = nullptr);
    void SetPicture(gameview::Picture picture);
    const gameview::Picture& Picture() const { return m_picture; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    gameview::Picture m_picture;
};

// A window with one picture and the buttons that save it as PNG or SVG. With `choices`, a
// combo box above the picture picks what it shows (the target group of a heat map), and
// `remake` paints it again for the choice.
class BalancePictureDlg : public QDialog {
    Q_OBJECT
public:
    BalancePictureDlg(const QString& title, gameview::Picture picture, guicommon::UserPrompts& prompts,
                      QWidget* parent = nullptr);
    void SetChoices(const QString& label, const QStringList& choices, int current,
                    std::function<gameview::Picture(int)> remake);
    PictureView* View() const { return m_view; }
    QComboBox* Choice() const { return m_choice; }

private:
    void Save(bool svg);

    guicommon::UserPrompts& m_prompts;
    PictureView* m_view;
    QComboBox* m_choice = nullptr;
};

}  // namespace morvane::app
