#include "model/records.h"

void registerRecordMetaTypes()
{
    qRegisterMetaType<Profile>("Profile");
    qRegisterMetaType<SystemSet>("SystemSet");
    qRegisterMetaType<SearchSet>("SearchSet");
    qRegisterMetaType<BoxMode>("BoxMode");
    qRegisterMetaType<MessageAnswer>("MessageAnswer");
}
