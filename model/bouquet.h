#pragma once

#include <QList>
#include <QObject>
#include <QString>

class Channel;

// A bouquet of the receiver; its channels are its children.
class Bouquet : public QObject
{
    Q_OBJECT

public:
    explicit Bouquet(QObject* parent = nullptr);
    ~Bouquet() override;

    // Appends the channel and makes it a child of this bouquet.
    Channel* addChannel(std::unique_ptr<Channel> channel);

    QString name;
    QString reference;
    QList<Channel*> channels;
};
