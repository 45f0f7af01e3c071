#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>

#include <optional>
#include <type_traits>

// Writes JSON with keys in the order they are given, so that dumps list the fields of a record
// in its own order and stay comparable from run to run.
class JsonWriter
{
public:
    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    // Starts the value of a member of the enclosing object.
    JsonWriter& key(const char* name);

    void value(const QString& text);
    void value(qint64 number);
    void value(bool flag);
    void nullValue();

    template<typename T>
    void member(const char* name, const T& v)
    {
        if (!isKnown(name))
            return;
        // Enumerations are written as their numbers.
        if constexpr (std::is_enum_v<T>)
            key(name).value(qint64(v));
        else
            key(name).value(v);
    }
    void member(const char* name, int v) { member(name, qint64(v)); }
    void member(const char* name, uint v) { member(name, qint64(v)); }

    // From now on only members of these names are written with their values; the others are
    // null, because nobody said what they are.
    void setKnownMembers(QSet<QByteArray> names) { m_known = std::move(names); }

    // The document, with a final newline.
    QByteArray finish() const { return m_out + '\n'; }

private:
    void separate();
    // True when the member's value is to be written; otherwise writes it as null.
    bool isKnown(const char* name);

    QByteArray m_out;
    bool m_needsComma = false;
    bool m_afterKey = false;
    int m_depth = 0;
    std::optional<QSet<QByteArray>> m_known;
};
