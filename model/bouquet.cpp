#include "model/bouquet.h"

#include "model/channel.h"

Bouquet::Bouquet(QObject* parent)
    : QObject(parent)
{}

// The channels go with the QObject children.
Bouquet::~Bouquet() = default;

Channel* Bouquet::addChannel(std::unique_ptr<Channel> channel)
{
    Channel* added = channel.release();
    added->setParent(this);
    channels.append(added);
    return added;
}
