#pragma once

#include <QIODevice>

// The empty body of a request that must reach the receiver at most once. It cannot be rewound,
// so the network layer cannot send its request again on its own after a dropped connection; it
// ends the request with ContentReSendError instead.
class OneShotBody : public QIODevice
{
public:
    explicit OneShotBody(QObject* parent);

    bool isSequential() const override { return false; }
    qint64 size() const override { return 0; }
    bool reset() override { return false; }

protected:
    qint64 readData(char*, qint64) override { return 0; }
    qint64 writeData(const char*, qint64) override { return -1; }
};
