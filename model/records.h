#pragma once

#include <QList>
#include <QMetaType>
#include <QPointer>
#include <QString>
#include <QStringList>

class EpgItem;

// One connection profile; the name is also its key in the settings store.
struct Profile
{
    QString profileName;
    int webIfType = 0; // 0 Enigma1, 1 Enigma2
    bool isActive = false;
    QString userName;
    QString password;
    QString wlanAddr; // host or address, without scheme
    QString wlanPort; // held as text, as entered
    // Initialized, so that profiles written as {name, type, ...} need not name them.
    QString lanMac{};      // the receiver's network card, "00:1d:ec:0a:1b:2c", for waking it
    QString wakeAddress{}; // where the wake-up call goes; empty: the LAN's broadcast address
    // Watching on this computer: a receiver with one tuner shows only the channel it is tuned
    // to, and some want the web interface's credentials for the stream too.
    bool zapBeforeWatching = false;
    bool streamNeedsCredentials = false;

    bool operator==(const Profile& other) const { return profileName == other.profileName; }
};

// The name of the profile that stands for "no active profile".
inline constexpr QLatin1StringView noActiveProfileName{"%noAcProf%!"};

struct SystemSet
{
    int orientation = 0; // 0 automatic, 1 landscape, 2 portrait
    bool panelClickSendOk = true;
    bool panelClickSendExit = false;
    bool chanlistClick = false;
    bool chanlistDbClick = true;
    bool movielistClick = false;
    bool movielistDbClick = true;
    bool isLiveMode = true;
    // The now/next events of a bouquet are asked for only the first time it is shown.
    bool epgLoadOnDemand = false;
    // The player for streams of the receiver, "%u" standing for the URL; empty: mpv or VLC where
    // installed, else the desktop's default.
    QString playerCommand{};

    bool operator==(const SystemSet&) const = default;
};

// Which event texts the local EPG search compares.
struct SearchSet
{
    bool keyTitel = false;
    bool keyText = false;
    bool keyTime = false;

    bool operator==(const SearchSet&) const = default;
};

enum BoxMode : int
{
    BoxModeTv = 0,
    BoxModeOther = 1,
    BoxModeMovie = 2,
    BoxModeTimeshift = 3,
    BoxModeStandby = 4,
};

enum MessageAnswer : int
{
    AnswerYes = 0,
    AnswerNo = 1,
    AnswerTimeout = 2,
};

// Tuner signal of an Enigma2 receiver; the texts as delivered, trimmed.
struct SignalInfo
{
    int snrPercent = 0;
    int agcPercent = 0;
    int ber = 0;
    QString snrText;
    QString snrDbText;
    QString agcText;
    QString berText;
};

// One measurement of the Enigma1 satellite finder.
struct SatfinderData
{
    int snr = 0;
    int agc = 0;
    int ber = 0;
    bool lock = false;
    bool sync = false;
};

// Satellites and transponders of the Enigma1 satellite finder.
struct SatfinderConfig
{
    int currentBouquet = 0;
    int currentChannel = 0;
    QStringList satellites;
    QList<QStringList> channelNames;
    QList<QStringList> channelRefs;
};

struct AboutInfo
{
    QString enigmaVersion;
    QString imageVersion;
    QString webifVersion;
    QString fpVersion;
    QString model;
    QString lanMac;
    bool lanDhcp = false;
    QString lanIp;
    QString lanMask;
    QString lanGateway;
    QString hddModel;
    QString hddCapacity;
    QString hddFree;
    QString tunerName;
    QString tunerType;
};

struct AboutInfoE1
{
    QString model;
    QString manufacturer;
    QString processor;
    QString harddisk;
    QString usbStick;
    QString linuxKernel;
    QString firmware;
    QString webInterface;
};

// The script variables of the Enigma1 data page.
struct DeviceData
{
    QString nowSt;
    QString nowD;
    QString diskGB;
    QString diskH;
    QString upTime;
    int volume = 0;
    bool mute = false;
    QString videoTime;
    int videoPosition = 0;
    bool videoActive = false;
    QString agc;
    QString snr;
    QString ber;
};

// The Enigma1 status page.
struct StatusInfoE1
{
    QString currentTime;
    bool standby = false;
    bool recording = false;
    int mode = 0;
    QString serviceReference;
    QString serviceName;
    QString provider;
    QString videoFormat;
};

// The aggregate status the panel and the information page show; one per database.
struct StatusData
{
    QString agcText;
    QString snrText;
    QString berText;
    int volume = 0;
    bool mute = true;
    bool standby = false;
    QString serviceReference;
    QString serviceName;
    QString provider;
    QString videoFormat;
    QString currentTime;
    BoxMode mode = BoxModeStandby;
    int videoPosition = 0;
    bool recording = false;
    QString nowSt;
    QString nowD;
    QString diskGB;
    QString diskH;
    QString upTime;
    QString videoTime;
    QString enigmaVersion;
    QString imageVersion;
    QString webifVersion;
    QString fpVersion;
    QString model;
    QString lanMac;
    bool lanDhcp = false;
    QString lanIp;
    QString lanMask;
    QString lanGateway;
    QString hddModel;
    QString hddCapacity;
    QString hddFree;
    QString tunerName;
    QString tunerType;
    QString videoWidth;
    QString videoHeight;
    QString snrDbText;
};

// One recording of the receiver.
struct MovieEntry
{
    QString title;
    QString fileSizeText;
    QString serviceReference;
    QString description;
    QString descriptionExtended;
    QString serviceName;
    uint time = 0;
    QString length;
    QString fileName;
};

// One recording or zap timer; each web interface fills its own fields.
struct TimerEntry
{
    QString serviceReference;
    QString serviceName;
    QString description;
    QString beginTimeText;
    QString endTimeText;
    int duration = 0;
    QString dateText;
    QString type;
    QString action;
    QString status;
    QString typeData;
    QString startText;
    uint begin = 0;
    uint end = 0;
    QString extraPath;
    QString eit;
    QString name;
    QString descriptionExtended;
    QString disabled;
    QString startPrepare;
    QString justPlay;
    QString afterEvent;
    QString location;
    QString state;
    bool cancelled = false;
};

// One hit of the local EPG search; points into the database and owns nothing. The event goes
// when the image prunes or drops it, and the pointer then reads null instead of dangling.
struct EpgSearchItem
{
    int channelIndex = 0;
    int bouquetIndex = 0;
    int epgIndex = 0;
    QPointer<EpgItem> epgItem;
};

Q_DECLARE_METATYPE(Profile)
Q_DECLARE_METATYPE(SystemSet)
Q_DECLARE_METATYPE(SearchSet)
Q_DECLARE_METATYPE(BoxMode)
Q_DECLARE_METATYPE(MessageAnswer)

// Registers the value records that travel through queued signals under their own names.
void registerRecordMetaTypes();
