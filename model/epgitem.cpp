#include "model/epgitem.h"

EpgItem::EpgItem(QObject* parent)
    : QObject(parent)
{}

EpgItem::~EpgItem() = default;
