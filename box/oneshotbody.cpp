#include "box/oneshotbody.h"

OneShotBody::OneShotBody(QObject* parent)
    : QIODevice(parent)
{
    open(QIODevice::ReadOnly);
}
