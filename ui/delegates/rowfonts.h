#pragma once

#include <QFont>
#include <QFontMetrics>

#include <optional>

class QPaintDevice;
class QWidget;

// The fonts of a list row, derived from the list's font p: bold at size p, normal at p - 1
// and normal at p, in the rows' own family with the system sans font behind it. Resolving
// fonts and their metrics costs more than drawing a row, so a set is kept until the list's
// font or the resolution of the device drawn on changes.
class RowFonts
{
public:
    // Makes the set fit the base font drawn on the device; does nothing when it already fits.
    void update(const QFont& base, const QPaintDevice* device);

    int pointSize() const { return m_pointSize; }
    const QFont& bold() const { return m_bold; }
    const QFont& normal() const { return m_normal; }
    const QFont& normalFull() const { return m_normalFull; }
    const QFontMetrics& boldMetrics() const { return *m_boldMetrics; }
    const QFontMetrics& normalMetrics() const { return *m_normalMetrics; }
    const QFontMetrics& normalFullMetrics() const { return *m_normalFullMetrics; }

    // The size p of a base font in points; a font given in pixels is converted at dpi.
    static int pointSizeOf(const QFont& base, int dpi);
    // The vertical resolution rows are measured at on the widget (or the screen without one).
    static int dpiOf(const QPaintDevice* device);
    static int dpiOf(const QWidget* widget);
    // The row font of the given size and weight.
    static QFont rowFont(const QFont& base, int pointSize, QFont::Weight weight);

private:
    std::optional<QFont> m_base;
    int m_dpi = 0;
    int m_pointSize = 0;
    QFont m_bold;
    QFont m_normal;
    QFont m_normalFull;
    std::optional<QFontMetrics> m_boldMetrics;
    std::optional<QFontMetrics> m_normalMetrics;
    std::optional<QFontMetrics> m_normalFullMetrics;
};
