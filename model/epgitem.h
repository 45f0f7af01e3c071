#pragma once

#include <QObject>
#include <QString>

#include <memory>

// One EPG event as the receiver reported it.
class EpgItem : public QObject
{
    Q_OBJECT

public:
    explicit EpgItem(QObject* parent = nullptr);
    ~EpgItem() override;

    // A copy of the event's values, without a parent.
    std::unique_ptr<EpgItem> clone() const;

    QString serviceName;
    QString serviceReference;
    QString bouquetReference; // bouquet whose EPG was requested
    QString startDate;
    QString startTime;
    uint start = 0;
    uint end = 0;
    int duration = 0; // seconds; -1 when the receiver sent none
    int progress = 0;
    int minutesLeft = 0;
    QString title;
    QString descriptionExtended;
    QString eventId;
    QString currentTime;
    QString description;
};
