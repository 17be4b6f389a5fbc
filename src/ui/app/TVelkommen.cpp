// The welcome window.
#include "TVelkommen.h"

#include "Pictures.h"
#include "Style.h"
#include "app/Version.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace kalvintor::ui {
namespace {
constexpr QSize kWelcomeSize{290, 296};
}

TVelkommen::TVelkommen(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::SplashScreen),
      versionLabel_(new QLabel(this)),
      buildLabel_(new QLabel(this)) {
    setObjectName(QStringLiteral("Velkommen"));
    setFixedSize(kWelcomeSize);
    versionLabel_->setObjectName(QStringLiteral("VersionLabel"));
    buildLabel_->setObjectName(QStringLiteral("BuildLabel"));
    for (QLabel* label : {versionLabel_, buildLabel_}) {
        label->setAlignment(Qt::AlignHCenter);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    versionLabel_->setFont(style::uiFont(10, QFont::DemiBold));
    buildLabel_->setFont(style::uiFont(8));
    versionLabel_->setStyleSheet(QStringLiteral("color: #E8D0A0;"));
    buildLabel_->setStyleSheet(QStringLiteral("color: #C9D3DE;"));
    versionLabel_->setGeometry(0, 178, kWelcomeSize.width(), 20);
    buildLabel_->setGeometry(0, 198, kWelcomeSize.width(), 16);
    buildLabel_->hide();
}

void TVelkommen::showEvent(QShowEvent* event) {
    // The version is read when the window is shown.
    const app::Version version = app::programVersion();
    versionLabel_->setText(QString::fromStdString(app::versionCaption(version)));
    buildLabel_->setText(QString::fromStdString(app::buildLabel(version)));
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QWidget::showEvent(event);
}

void TVelkommen::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, welcomePicture(size(), devicePixelRatioF()));
}

void TVelkommen::mousePressEvent(QMouseEvent* event) {
    hide();
    event->accept();
}

void TVelkommen::showAbout() {
    buildLabel_->show();
    show();
    raise();
}

}  // namespace kalvintor::ui
