#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;
class QMovie;

// A small busy indicator that plays an animation while something is loading and is hidden
// otherwise. With an empty size it takes the size of the animation's frames; with another
// size the animation is scaled to it.
class QAnimationLabel : public QWidget
{
    Q_OBJECT

public:
    QAnimationLabel(const QString& animationPath, QSize size, QWidget* parent);

    bool isAnimating() const;

public slots:
    void start();
    void stop();

private:
    QPointer<QLabel> label;
    QPointer<QMovie> movie; // owned by this widget, so it ends with it
};
