#include "app/IntroFormUnit1.h"

#include "app/CdFiles.h"
#include "app/Forms.h"
#include "app/Shell.h"
#include "platform/Paths.h"
#include "platform/Pictures.h"

namespace katalog {

TIntroForm::TIntroForm()
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::SplashScreen) {
    setObjectName(QStringLiteral("IntroForm"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    IntroPIC = new QLabel(this);
    IntroPIC->setObjectName(QStringLiteral("IntroPIC"));
}

void TIntroForm::Prepare() {
    IntroPIC->move(0, 0);
    const QString name = QString::fromLatin1(cdfiles::IntroPicture);
    const QString path = platform::readablePath(shell().SystemDir, name);
    const QImage picture = platform::loadPicture(path);
    IntroPIC->setPixmap(QPixmap::fromImage(picture));
    IntroPIC->resize(picture.size());
    setGeometry(QRect(centredOnScreen(picture.size()), picture.size()));
}

}  // namespace katalog
