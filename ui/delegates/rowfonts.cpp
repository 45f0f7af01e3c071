#include "ui/delegates/rowfonts.h"

#include <QGuiApplication>
#include <QPaintDevice>
#include <QScreen>
#include <QStringList>
#include <QWidget>

#include <algorithm>

namespace {

constexpr int fallbackDpi = 96;
constexpr int fallbackPointSize = 9;
constexpr int smallestPointSize = 2;

} // namespace

void RowFonts::update(const QFont& base, const QPaintDevice* device)
{
    const int dpi = dpiOf(device);
    if (m_base && dpi == m_dpi && *m_base == base)
        return;
    m_base = base;
    m_dpi = dpi;
    m_pointSize = pointSizeOf(base, dpi);
    m_bold = rowFont(base, m_pointSize, QFont::Bold);
    m_normal = rowFont(base, m_pointSize - 1, QFont::Normal);
    m_normalFull = rowFont(base, m_pointSize, QFont::Normal);
    // Metrics for the device itself, so that cutting a text and drawing it agree.
    m_boldMetrics.emplace(m_bold, device);
    m_normalMetrics.emplace(m_normal, device);
    m_normalFullMetrics.emplace(m_normalFull, device);
}

int RowFonts::pointSizeOf(const QFont& base, int dpi)
{
    int points = fallbackPointSize;
    if (base.pointSizeF() > 0)
        points = qRound(base.pointSizeF());
    else if (base.pixelSize() > 0 && dpi > 0)
        points = qRound(base.pixelSize() * 72.0 / dpi);
    return std::max(points, smallestPointSize);
}

int RowFonts::dpiOf(const QPaintDevice* device)
{
    if (device && device->logicalDpiY() > 0)
        return device->logicalDpiY();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return qRound(screen->logicalDotsPerInchY());
    return fallbackDpi;
}

int RowFonts::dpiOf(const QWidget* widget)
{
    return dpiOf(static_cast<const QPaintDevice*>(widget));
}

QFont RowFonts::rowFont(const QFont& base, int pointSize, QFont::Weight weight)
{
    QFont font(base);
    // The rows' own family first; where it is not installed the list's (system) sans font.
    font.setFamilies({QStringLiteral("Lucida Grande"), base.family()});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(std::max(pointSize, 1));
    font.setWeight(weight);
    font.setItalic(false);
    return font;
}
