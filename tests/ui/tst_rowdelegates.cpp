#include "model/clock.h"
#include "ui/delegates/channelitemdelegate.h"
#include "ui/delegates/epglistitemdelegate.h"
#include "ui/delegates/epgsearchitemdelegate.h"
#include "ui/delegates/movieitemdelegate.h"
#include "ui/delegates/rowfonts.h"
#include "ui/delegates/timereventitemdelegate.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QStandardItemModel>
#include <QTest>

#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// A list row painted by a delegate into an image with a white margin around it, and the same
// row drawn by hand from the expected texts, so that tests can compare where the ink landed.
constexpr int margin = 20;

QFont listFont(int pointSize)
{
    return QFont(QStringLiteral("DejaVu Sans"), pointSize);
}

QStyleOptionViewItem option(QSize rowSize, const QFont& font)
{
    QStyleOptionViewItem option;
    option.rect = QRect(QPoint(margin, margin), rowSize);
    option.font = font;
    option.palette.setColor(QPalette::Text, Qt::black);
    option.palette.setColor(QPalette::HighlightedText, Qt::white);
    option.palette.setColor(QPalette::Highlight, QColor(0x20, 0x40, 0x80));
    option.state = QStyle::State_Enabled | QStyle::State_Active;
    option.decorationSize = QSize(32, 32);
    return option;
}

QImage blank(QSize rowSize)
{
    QImage image(rowSize + QSize(2 * margin, 2 * margin), QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

QImage paint(const QAbstractItemDelegate& delegate, const QStyleOptionViewItem& option,
             const QModelIndex& index)
{
    QImage image = blank(option.rect.size());
    QPainter painter(&image);
    delegate.paint(&painter, option, index);
    return image;
}

// The smallest rectangle holding every inked pixel of the area; null without ink.
QRect inkBounds(const QImage& image, const QRect& area)
{
    QRect bounds;
    const QRect clipped = area.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 200)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

bool hasInk(const QImage& image, const QRect& area)
{
    return !inkBounds(image, area).isNull();
}

bool inkOutside(const QImage& image, const QRect& row)
{
    const QRect ink = inkBounds(image, image.rect());
    return !ink.isNull() && !row.contains(ink);
}

// One line of text as the row should show it.
struct Line
{
    QRect band;
    int alignment;
    QString text;
    QFont font;
};

// The row drawn by hand: every line cut to its band with an ellipsis, black on white.
QImage expected(QSize rowSize, const std::vector<Line>& lines)
{
    QImage image = blank(rowSize);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const Line& line : lines) {
        const QFontMetrics metrics(line.font, &image);
        painter.setFont(line.font);
        painter.drawText(
            line.band, line.alignment | Qt::TextSingleLine,
            metrics.elidedText(line.text, Qt::ElideRight, line.band.width(), Qt::TextSingleLine));
    }
    return image;
}

QFont boldFont(const QFont& list)
{
    return RowFonts::rowFont(list, list.pointSize(), QFont::Bold);
}

QFont normalFont(const QFont& list)
{
    return RowFonts::rowFont(list, list.pointSize() - 1, QFont::Normal);
}

enum class Kind
{
    EpgList,
    EpgSearch,
    Movie,
    Timer,
    Channel
};

constexpr qint64 recorded = 1796587200; // 2026-12-06 20:00 UTC
const ManualClock oneHourEast(recorded, 3600);

using Roles = QMap<int, QVariant>;

std::unique_ptr<QAbstractItemDelegate> makeDelegate(Kind kind)
{
    switch (kind) {
    case Kind::EpgList:
        return std::make_unique<EpgListItemDelegate>(nullptr);
    case Kind::EpgSearch:
        return std::make_unique<EpgSearchItemDelegate>(nullptr);
    case Kind::Movie:
        return std::make_unique<MovieItemDelegate>(oneHourEast, nullptr);
    case Kind::Timer:
        return std::make_unique<TimerEventItemDelegate>(nullptr);
    case Kind::Channel:
        return std::make_unique<ChannelItemDelegate>(nullptr);
    }
    return nullptr;
}

QModelIndex addRow(QStandardItemModel& model, const Roles& roles)
{
    auto* item = new QStandardItem;
    for (auto it = roles.cbegin(); it != roles.cend(); ++it)
        item->setData(it.value(), it.key());
    model.appendRow(item);
    return item->index();
}

// A timer as the timer page stores it; the role numbers are the contract and written out.
Roles timer(const QVariant& justPlay, const QString& name, const QString& description)
{
    const int u = Qt::UserRole;
    return {{u, u"ZDF"_s},       {u + 1, name},       {u + 2, description},
            {u + 3, u"20:15"_s}, {u + 4, u"21:45"_s}, {u + 5, u"Sun Dec 6 2026"_s},
            {u + 6, justPlay}};
}

// A channel row as the main window fills it, with the role numbers written out.
Roles channelRow(const QString& current, const QString& next)
{
    const int u = Qt::UserRole;
    return {{u, u"ZDF"_s}, {u + 1, 30}, {u + 2, current}, {u + 3, 42}, {u + 4, next}, {u + 5, 90}};
}

// The three bands of a channel row, a third of the height each; the "only" rows leave out
// the pixel row a band shares with its neighbour.
struct Bands
{
    explicit Bands(const QRect& r)
        : top(QPoint(r.left() + 5, r.top()), QPoint(r.right() - 10, r.bottom() - 2 * r.height() / 3))
        , middleOnly(QPoint(r.left() + 5, r.top() + r.height() / 3 + 1),
                     QPoint(r.right() - 10, r.bottom() - r.height() / 3 - 1))
        , bottomOnly(QPoint(r.left() + 5, r.top() + 2 * r.height() / 3 + 1),
                     QPoint(r.right() - 10, r.bottom()))
    {}
    QRect top;
    QRect middleOnly;
    QRect bottomOnly;
};

} // namespace

Q_DECLARE_METATYPE(Kind)

class TestRowDelegates : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void drawsBothLinesInTheirBands_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<Roles>("roles");
        QTest::addColumn<QString>("upper");
        QTest::addColumn<QString>("lower");
        QTest::addColumn<bool>("upperBold");

        const int u = Qt::UserRole;
        const QString date = u"Sun Dec 6 2026"_s;
        QTest::newRow("epg list: date and start above, title bold below")
            << Kind::EpgList << Roles{{u, u"Tagesschau"_s}, {u + 1, u"20:00"_s}, {u + 2, date}}
            << u"Sun Dec 6 2026 20:00"_s << u"Tagesschau"_s << false;
        QTest::newRow("epg list: a long title is cut at the right margin")
            << Kind::EpgList << Roles{{u, QString(300, u'W')}} << u" "_s << QString(300, u'W') << false;
        QTest::newRow("epg search: title bold above, date, start and channel below")
            << Kind::EpgSearch
            << Roles{{u, u"ZDF"_s}, {u + 1, u"Tatort"_s}, {u + 2, u"20:15"_s}, {u + 3, date}} << u"Tatort"_s
            << u"Sun Dec 6 2026 20:15 ZDF"_s << true;
        QTest::newRow("movie: recording time in the clock's local time")
            << Kind::Movie
            << Roles{{u, u"Tatort"_s},
                     {u + 1, u"1.2 GB"_s},
                     {u + 2, u"ZDF"_s},
                     {u + 3, u"90 min"_s},
                     {u + 4, uint(recorded)}}
            << u"Sun Dec 6 2026 21:00 ZDF 1.2 GB"_s << u"Tatort 90 min"_s << false;
        QTest::newRow("movie: a time that is no number shows no date")
            << Kind::Movie << Roles{{u + 2, u"ZDF"_s}, {u + 4, u"yesterday"_s}} << u"ZDF "_s << u" "_s
            << false;
        const QString line = u"Sun Dec 6 2026 20:15-21:45 ZDF"_s;
        QTest::newRow("zap timer") << Kind::Timer << timer(1, u"Tatort"_s, u"Krimi"_s)
                                   << line + u" - Zap Timer"_s << u"Tatort - Krimi"_s << false;
        QTest::newRow("record timer without description")
            << Kind::Timer << timer(u"0"_s, u"Tatort"_s, QString()) << line + u" - Record Timer"_s
            << u"Tatort"_s << false;
        QTest::newRow("timer of unknown kind, description only")
            << Kind::Timer << timer(QString(), QString(), u"Krimi"_s) << line << u"Krimi"_s << false;
        QTest::newRow("any other kind leaves the first line empty")
            << Kind::Timer << timer(u"2"_s, u"Tatort"_s, QString()) << QString() << u"Tatort"_s << false;
        QTest::newRow("timer without name and description")
            << Kind::Timer << timer(u"0"_s, QString(), QString()) << line + u" - Record Timer"_s << QString()
            << false;
    }

    void drawsBothLinesInTheirBands()
    {
        QFETCH(Kind, kind);
        QFETCH(Roles, roles);
        QFETCH(QString, upper);
        QFETCH(QString, lower);
        QFETCH(bool, upperBold);

        QStandardItemModel model;
        const QFont font = listFont(10);
        const QStyleOptionViewItem opt = option(QSize(420, 40), font);
        const QImage painted = paint(*makeDelegate(kind), opt, addRow(model, roles));

        // Both halves run to 10 pixels before the right edge; a timer row starts after its icon.
        const QRect& r = opt.rect;
        const int left = kind == Kind::Timer ? r.left() + r.height() : r.left() + 5;
        const QRect upperBand(QPoint(left, r.top()), QPoint(r.right() - 10, r.bottom() - r.height() / 2));
        const QRect lowerBand(QPoint(left, r.top() + r.height() / 2), QPoint(r.right() - 10, r.bottom()));
        const QImage wanted = expected(opt.rect.size(), {{upperBand, Qt::AlignLeft | Qt::AlignBottom, upper,
                                                          upperBold ? boldFont(font) : normalFont(font)},
                                                         {lowerBand, Qt::AlignLeft | Qt::AlignTop, lower,
                                                          upperBold ? normalFont(font) : boldFont(font)}});
        QCOMPARE(painted, wanted);
    }

    void timerKeepsASquareForItsIcon()
    {
        QStandardItemModel model;
        Roles withIcon = timer(u"0"_s, u"Tatort"_s, QString());
        withIcon.insert(Qt::DecorationRole, QIcon(u":/buttons/buttons/player_time_48.png"_s));
        const QStyleOptionViewItem opt = option(QSize(420, 40), listFont(10));
        const auto delegate = makeDelegate(Kind::Timer);
        const QImage painted = paint(*delegate, opt, addRow(model, withIcon));
        const QImage plain = paint(*delegate, opt, addRow(model, timer(u"0"_s, u"Tatort"_s, {})));

        const QRect square(opt.rect.topLeft(), QSize(opt.rect.height(), opt.rect.height()));
        QVERIFY(hasInk(painted, square));
        QVERIFY(!hasInk(plain, square));
        const QRect text(square.right() + 1, 0, painted.width() - square.right() - 1, painted.height());
        QCOMPARE(painted.copy(text), plain.copy(text));
    }

    void sizeHintScalesWithTheFont()
    {
        QFont pixels(u"DejaVu Sans"_s);
        pixels.setPixelSize(16); // 12 points at 96 dots per inch
        QStandardItemModel model;
        const QModelIndex index = addRow(model, {});
        for (const Kind kind : {Kind::EpgList, Kind::EpgSearch, Kind::Movie, Kind::Timer, Kind::Channel}) {
            const int bands = kind == Kind::Channel ? 5 : 4;
            const auto delegate = makeDelegate(kind);
            QCOMPARE(delegate->sizeHint(option(QSize(1, 1), listFont(8)), index), QSize(200, bands * 8));
            QCOMPARE(delegate->sizeHint(option(QSize(1, 1), listFont(24)), index), QSize(200, bands * 24));
            QCOMPARE(delegate->sizeHint(option(QSize(1, 1), pixels), index), QSize(200, bands * 12));
        }
    }

    void hostileRolesStayInsideTheRow()
    {
        QStandardItemModel model;
        Roles wrongTypes{{Qt::DecorationRole, u"not an icon"_s}};
        Roles oddTexts;
        const QList<QVariant> wrong{QVariantList{1}, QVariantMap{{u"a"_s, 1}}, QByteArray("\xff\xfe", 2),
                                    QDateTime::fromSecsSinceEpoch(0), std::numeric_limits<qlonglong>::min()};
        const QList<QVariant> odd{u"line\nbreak\ttab"_s, QString(50000, u'x'), u"\u05e9\u05dc\u05d5\u05dd"_s,
                                  u"\U0001F4FA"_s, -1};
        for (int role = Qt::UserRole; role <= Qt::UserRole + 6; ++role) {
            wrongTypes.insert(role, wrong.at(role % wrong.size()));
            oddTexts.insert(role, odd.at(role % odd.size()));
        }
        const QModelIndex rows[] = {addRow(model, {}), addRow(model, wrongTypes), addRow(model, oddTexts)};
        for (const Kind kind : {Kind::EpgList, Kind::EpgSearch, Kind::Movie, Kind::Timer, Kind::Channel}) {
            const auto delegate = makeDelegate(kind);
            for (const QSize size : {QSize(300, 50), QSize(300, 7), QSize(8, 50)}) {
                QStyleOptionViewItem opt = option(size, listFont(10));
                for (const QModelIndex& index : rows)
                    QVERIFY(!inkOutside(paint(*delegate, opt, index), opt.rect));
                // An index that is no row draws nothing at all, not even a selection.
                opt.state |= QStyle::State_Selected;
                QCOMPARE(paint(*delegate, opt, QModelIndex()), blank(size));
            }
        }
    }

    void rowFontsFallBackToTheListFamily()
    {
        QFont list(u"DejaVu Sans"_s, 11);
        list.setItalic(true);
        RowFonts fonts;
        const QImage device(1, 1, QImage::Format_RGB32);
        fonts.update(list, &device);
        QCOMPARE(fonts.bold().pointSize(), 11);
        QCOMPARE(fonts.normal().pointSize(), 10);
        QCOMPARE(fonts.normalFull().pointSize(), 11);
        QVERIFY(!fonts.bold().italic() && !fonts.normal().italic());
        const bool installed = QFontDatabase::hasFamily(u"Lucida Grande"_s);
        QCOMPARE(QFontInfo(fonts.normal()).family(),
                 installed ? u"Lucida Grande"_s : QFontInfo(list).family());
        QVERIFY(QFontInfo(fonts.bold()).bold());
    }

    void channelBandsFollowTheEvents_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("next");

        QTest::newRow("channel without EPG shows only its name") << QString() << QString();
        QTest::newRow("current event without next event") << u"20:15 Tatort"_s << QString();
        QTest::newRow("current and next event") << u"20:15 Tatort"_s << u"21:45 Tagesthemen"_s;
        QTest::newRow("next event alone") << QString() << u"21:45 Tagesthemen"_s;
    }

    void channelBandsFollowTheEvents()
    {
        QFETCH(QString, current);
        QFETCH(QString, next);

        QStandardItemModel model;
        const QStyleOptionViewItem opt = option(QSize(400, 50), listFont(10));
        const QImage painted =
            paint(ChannelItemDelegate(nullptr), opt, addRow(model, channelRow(current, next)));
        const Bands bands(opt.rect);

        QCOMPARE(hasInk(painted, bands.middleOnly), !current.isEmpty());
        QCOMPARE(hasInk(painted, bands.bottomOnly), !next.isEmpty());
        // The percentage follows the name, 6 pixels after it, only with a current event.
        RowFonts fonts;
        fonts.update(opt.font, &painted);
        const int nameEnd = bands.top.left() + fonts.boldMetrics().horizontalAdvance(QStringLiteral("ZDF"));
        QCOMPARE(inkBounds(painted, bands.top).right() > nameEnd + 6, !current.isEmpty());
    }

    void channelTitleStopsBeforeTheMinutes_data()
    {
        QTest::addColumn<bool>("nextLine");

        QTest::newRow("current event title against the minutes left") << false;
        QTest::newRow("next event title against its duration") << true;
    }

    void channelTitleStopsBeforeTheMinutes()
    {
        QFETCH(bool, nextLine);

        const QString longTitle = u"20:15 "_s + QString(200, u'W');
        QStandardItemModel model;
        const QStyleOptionViewItem opt = option(QSize(400, 50), listFont(10));
        const QImage painted =
            paint(ChannelItemDelegate(nullptr), opt, addRow(model, channelRow(longTitle, longTitle)));
        const Bands bands(opt.rect);
        const QRect band = nextLine ? bands.bottomOnly : bands.middleOnly;

        // The minutes sit at the right; the title ends 11 pixels before them, cut with an ellipsis.
        RowFonts fonts;
        fonts.update(opt.font, &painted);
        const QFontMetrics& metrics = fonts.normalMetrics();
        const int minutesLeft =
            band.right() + 1 -
            metrics.horizontalAdvance(nextLine ? QStringLiteral(" 90 min") : QStringLiteral(" 42 min"));
        const int titleLimit = minutesLeft - 11;
        const int minutesInk = minutesLeft + metrics.horizontalAdvance(u' ');

        const QRect title = inkBounds(painted, QRect(band.topLeft(), QPoint(titleLimit + 1, band.bottom())));
        QVERIFY2(title.right() >= titleLimit - 2 * metrics.horizontalAdvance(u'W'),
                 "the title fills its room");
        QVERIFY2(!hasInk(painted,
                         QRect(QPoint(titleLimit + 2, band.top()), QPoint(minutesInk - 2, band.bottom()))),
                 "nothing between the cut title and the minutes");
        QVERIFY2(hasInk(painted, QRect(QPoint(minutesInk - 1, band.top()), band.bottomRight())),
                 "minutes are shown");
        QVERIFY(!hasInk(painted, QRect(QPoint(band.right() + 2, 0), painted.rect().bottomRight())));
    }
};

QTEST_MAIN(TestRowDelegates)
#include "tst_rowdelegates.moc"
