#include "tools/boxsim/faultparser.h"

#include <QStringList>

namespace boxsim {

namespace {

bool number(const QStringList& parts, qsizetype index, int* out, QString* error)
{
    if (index >= parts.size())
        return true;
    bool ok = false;
    const int value = parts.at(index).toInt(&ok, 10);
    if (!ok || value < 0) {
        *error = QStringLiteral("'%1' is not a number of 0 or more").arg(parts.at(index));
        return false;
    }
    *out = value;
    return true;
}

} // namespace

std::optional<ParsedFault> parseFault(const QString& text, QString* error)
{
    ParsedFault parsed;
    QString items = text.trimmed();
    if (items.startsWith(u'/')) {
        const qsizetype eq = items.indexOf(u'=');
        if (eq < 0) {
            *error = QStringLiteral("a path must be followed by '=' and the fault");
            return std::nullopt;
        }
        parsed.path = items.left(eq);
        items = items.mid(eq + 1);
    }
    if (items.isEmpty()) {
        *error = QStringLiteral("no fault given");
        return std::nullopt;
    }
    bool kindSet = false;
    const auto setKind = [&](FaultKind kind) {
        if (kindSet) {
            *error = QStringLiteral("only one of hang, cut, 500, 404, 412, malformed, trickle, refuse, "
                                    "badauth, refusal, drop per fault");
            return false;
        }
        kindSet = true;
        parsed.fault.kind = kind;
        return true;
    };
    const QStringList list = items.split(u',', Qt::SkipEmptyParts);
    for (const QString& item : list) {
        const QStringList parts = item.trimmed().split(u':');
        const QString name = parts.first().toLower();
        bool ok = true;
        if (name == QLatin1String("latency")) {
            if (parts.size() < 2) {
                *error = QStringLiteral("latency needs milliseconds: latency:MS[:JITTER]");
                return std::nullopt;
            }
            ok = number(parts, 1, &parsed.fault.latencyMs, error) &&
                 number(parts, 2, &parsed.fault.jitterMs, error);
        } else if (name == QLatin1String("hang")) {
            ok = setKind(FaultKind::Hang);
        } else if (name == QLatin1String("cut")) {
            ok = setKind(FaultKind::CutBody) && number(parts, 1, &parsed.fault.cutPercent, error);
        } else if (name == QLatin1String("500")) {
            ok = setKind(FaultKind::Http500);
        } else if (name == QLatin1String("404")) {
            ok = setKind(FaultKind::Http404);
        } else if (name == QLatin1String("412")) {
            ok = setKind(FaultKind::SessionRefused);
        } else if (name == QLatin1String("malformed")) {
            ok = setKind(FaultKind::MalformedBody);
        } else if (name == QLatin1String("trickle")) {
            ok = setKind(FaultKind::Trickle) && number(parts, 1, &parsed.fault.trickleBytes, error) &&
                 number(parts, 2, &parsed.fault.trickleIntervalMs, error);
        } else if (name == QLatin1String("refuse")) {
            ok = setKind(FaultKind::Refuse);
        } else if (name == QLatin1String("badauth")) {
            ok = setKind(FaultKind::WrongCredentials);
        } else if (name == QLatin1String("refusal")) {
            ok = setKind(FaultKind::Refusal);
        } else if (name == QLatin1String("drop")) {
            ok = setKind(FaultKind::DropAfterRequest);
        } else if (name == QLatin1String("times")) {
            if (parts.size() < 2) {
                *error = QStringLiteral("times needs a count: times:N");
                return std::nullopt;
            }
            ok = number(parts, 1, &parsed.fault.times, error);
            if (ok && parsed.fault.times == 0) {
                *error = QStringLiteral("times must be 1 or more");
                return std::nullopt;
            }
        } else {
            *error = QStringLiteral("unknown fault '%1'").arg(item.trimmed());
            return std::nullopt;
        }
        if (!ok)
            return std::nullopt;
    }
    return parsed;
}

} // namespace boxsim
