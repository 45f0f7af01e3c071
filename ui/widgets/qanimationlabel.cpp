#include "ui/widgets/qanimationlabel.h"

#include <QImage>
#include <QLabel>
#include <QMovie>
#include <QVBoxLayout>

QAnimationLabel::QAnimationLabel(const QString& animationPath, QSize size, QWidget* parent)
    : QWidget(parent)
    , label(new QLabel(this))
    , movie(new QMovie(animationPath, QByteArray(), this))
{
    if (size.width() < 1 || size.height() < 1) {
        movie->jumpToNextFrame();
        size = movie->currentImage().size();
        movie->jumpToFrame(0);
    } else if (movie->isValid()) {
        movie->setScaledSize(size);
    }
    hide();
    label->setFixedSize(size);
    label->setMovie(movie);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    setFixedSize(size);
}

bool QAnimationLabel::isAnimating() const
{
    return movie && movie->state() == QMovie::Running;
}

void QAnimationLabel::start()
{
    // An animation that cannot be read would show an empty box; better show nothing.
    if (!movie || !movie->isValid() || movie->state() == QMovie::Running)
        return;
    movie->start();
    show();
}

void QAnimationLabel::stop()
{
    if (!movie || movie->state() == QMovie::NotRunning)
        return;
    movie->stop();
    hide();
}
