#include "app/StartPage.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace morvane::app {

StartPage::StartPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("startPage"));
    auto* outer = new QHBoxLayout(this);
    auto* column = new QVBoxLayout;
    outer->addStretch(1);
    outer->addLayout(column, 3);
    outer->addStretch(1);

    auto* title = new QLabel(QStringLiteral("No rules file is open"), this);
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    title->setFont(big);
    auto* intro = new QLabel(QStringLiteral("Morvane edits the rules file of Red Alert (rules.ini). Open one, make a "
                                            "new one that holds the game's own values, or tell Morvane where the "
                                            "game is."),
                             this);
    intro->setWordWrap(true);
    column->addStretch(1);
    column->addWidget(title);
    column->addWidget(intro);

    auto* buttons = new QHBoxLayout;
    const auto button = [this, buttons](const QString& text, void (StartPage::*signal)()) {
        auto* push = new QPushButton(text, this);
        connect(push, &QPushButton::clicked, this, signal);
        buttons->addWidget(push);
        return push;
    };
    button(QStringLiteral("&Open\u2026"), &StartPage::OpenRequested)->setDefault(true);
    button(QStringLiteral("&New from the Game's Defaults\u2026"), &StartPage::NewRequested);
    button(QStringLiteral("Set the &Game Folder\u2026"), &StartPage::GameFolderRequested);
    buttons->addStretch(1);
    column->addLayout(buttons);

    auto* recentCaption = new QLabel(QStringLiteral("&Recent files:"), this);
    m_recent = new QListWidget(this);
    m_recent->setAccessibleName(QStringLiteral("Recent files"));
    recentCaption->setBuddy(m_recent);
    connect(m_recent, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { emit RecentChosen(item->text()); });
    connect(m_recent, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { emit RecentChosen(item->text()); });
    column->addWidget(recentCaption);
    column->addWidget(m_recent, 1);

    m_looked = new QLabel(this);
    m_looked->setObjectName(QStringLiteral("looked"));
    m_looked->setWordWrap(true);
    m_looked->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(m_looked);
    column->addStretch(1);
}

void StartPage::Show(const QStringList& looked, const QStringList& recent) {
    m_looked->setText(looked.isEmpty() ? QString()
                                       : QStringLiteral("Morvane looked for a rules file here and found none:\n") +
                                             looked.join(QLatin1Char('\n')));
    m_recent->clear();
    m_recent->addItems(recent);
    m_recent->setEnabled(!recent.isEmpty());
}

}  // namespace morvane::app
