#pragma once

#include <QDialog>
#include <QFont>

namespace morvane::dialogs {

// "About Morvane": the icon, the program's name and version in a large bold title, OK.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

private:
    QFont m_fontTitle;
};

}  // namespace morvane::dialogs
