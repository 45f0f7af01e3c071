#pragma once

#include <QByteArray>
#include <QString>

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
        key(name).value(v);
    }
    void member(const char* name, int v) { key(name).value(qint64(v)); }
    void member(const char* name, uint v) { key(name).value(qint64(v)); }

    // The document, with a final newline.
    QByteArray finish() const { return m_out + '\n'; }

private:
    void separate();

    QByteArray m_out;
    bool m_needsComma = false;
    bool m_afterKey = false;
    int m_depth = 0;
};
