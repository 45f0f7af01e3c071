#include "tools/boxsim/screenpicture.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTime>

#include <array>

namespace boxsim {

namespace {

constexpr int Width = 720;
constexpr int Height = 405;

// The colour bars of a test card, dimmed so that the texts stay readable.
void drawBars(QPainter& painter)
{
    static constexpr std::array<QRgb, 7> bars{0xb4b4b4, 0xb4b410, 0x10b4b4, 0x10b410,
                                              0xb410b4, 0xb41010, 0x1010b4};
    const int barWidth = Width / int(bars.size());
    for (size_t i = 0; i < bars.size(); ++i)
        painter.fillRect(int(i) * barWidth, 0, barWidth + 1, Height, QColor::fromRgb(bars.at(i)).darker(160));
}

void drawClock(QPainter& painter, const QTime& time, const QPoint& centre, int radius)
{
    painter.setPen(QPen(Qt::white, 3));
    painter.setBrush(QColor(0, 0, 0, 140));
    painter.drawEllipse(centre, radius, radius);
    const auto hand = [&](double turns, double length) {
        painter.save();
        painter.translate(centre);
        painter.rotate(turns * 360.0);
        painter.drawLine(0, 0, 0, -int(radius * length));
        painter.restore();
    };
    if (!time.isValid())
        return;
    hand((time.hour() % 12 + time.minute() / 60.0) / 12.0, 0.5);
    hand(time.minute() / 60.0, 0.8);
}

} // namespace

QByteArray drawScreenPicture(const ScreenContent& content)
{
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        const bool withText = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
        const QTime time = QTime::fromString(content.time.trimmed(), QStringLiteral("H:mm:ss"));
        if (content.standby) {
            // A receiver in standby sends a black picture; the clock tells the pictures apart.
            painter.setPen(QColor(0x60, 0x60, 0x60));
            if (withText) {
                QFont font = painter.font();
                font.setPixelSize(28);
                painter.setFont(font);
                painter.drawText(QRect(0, 0, Width, Height), Qt::AlignCenter,
                                 QStringLiteral("Standby\n") + content.time);
            }
        } else {
            drawBars(painter);
            drawClock(painter, time, QPoint(Width - 70, 70), 50);
            // The info bar at the bottom, as the receiver shows it after a zap.
            const QRect bar(20, Height - 110, Width - 40, 90);
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(10, 20, 60, 220));
            painter.drawRoundedRect(bar, 8, 8);
            if (withText) {
                painter.setPen(Qt::white);
                QFont font = painter.font();
                font.setPixelSize(26);
                font.setBold(true);
                painter.setFont(font);
                painter.drawText(bar.adjusted(16, 8, -16, -46), Qt::AlignLeft | Qt::AlignVCenter,
                                 content.channel);
                painter.drawText(bar.adjusted(16, 8, -16, -46), Qt::AlignRight | Qt::AlignVCenter,
                                 content.time);
                font.setPixelSize(20);
                font.setBold(false);
                painter.setFont(font);
                painter.drawText(bar.adjusted(16, 46, -16, -8), Qt::AlignLeft | Qt::AlignVCenter,
                                 content.event);
            }
        }
        // The last keys pressed, top left: as words when there are fonts, as marks otherwise.
        painter.setPen(Qt::white);
        if (withText && !content.lastKeys.isEmpty()) {
            QFont font = painter.font();
            font.setPixelSize(18);
            font.setBold(false);
            painter.setFont(font);
            painter.drawText(QRect(20, 16, Width - 180, 30), Qt::AlignLeft | Qt::AlignVCenter,
                             QStringLiteral("RC: ") + content.lastKeys.join(QLatin1Char(' ')));
        } else {
            for (qsizetype i = 0; i < content.lastKeys.size(); ++i)
                painter.fillRect(20 + int(i) * 14, 20, 10, 24, Qt::white);
        }
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

} // namespace boxsim
