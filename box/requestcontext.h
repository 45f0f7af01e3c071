#pragma once

#include "box/requesttype.h"

#include <QString>

#include <utility>

// What a request was sent for. Its reply is handled as that request, whatever was sent after it.
struct RequestContext
{
    RequestContext() = default;
    RequestContext(RequestType requestType, QString bouquet, QString service = {})
        : type(requestType)
        , bouquetReference(std::move(bouquet))
        , serviceReference(std::move(service))
    {}

    RequestType type = ReqNone;
    QString bouquetReference; // the bouquet whose events or channel it concerns
    QString serviceReference; // the service it concerns
};
