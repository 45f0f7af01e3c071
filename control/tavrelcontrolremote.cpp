#include "box/requestse2.h"
#include "control/tavrelcontrol.h"

void TavrelControl::sendRemoteKey(RemoteKey key, bool longPress)
{
    if (!ensureCommandEngine())
        return;
    Q_EMIT networkTransmitIsActive(true);
    requestEngine->sendRemoteKey(key, longPress);
}

void TavrelControl::requestTvPicture()
{
    if (!ensureCommandEngine()) {
        Q_EMIT tvPictureFailed(tr("No receiver is set up."));
        return;
    }
    if (isEnigma1()) {
        Q_EMIT tvPictureFailed(tr("Enigma1 receivers do not give the TV picture."));
        return;
    }
    static_cast<RequestsE2*>(requestEngine.get())->requestScreenshot();
}

void TavrelControl::connectRemoteRoutes(TavrelRequest* engine)
{
    connect(engine, &TavrelRequest::replyHandled, this, [this](RequestType type, bool failed) {
        if (type == ReqRemoteKey)
            Q_EMIT remoteKeyHandled(failed);
    });
}

void TavrelControl::connectPictureRoutes(RequestsE2* engine)
{
    connect(engine, &RequestsE2::finishedScreenshotRequest, this, &TavrelControl::tvPictureReceived);
    connect(engine, &TavrelRequest::requestFailed, this,
            [this](RequestType type, QNetworkReply::NetworkError, int httpStatus) {
                if (type != ReqScreenshot)
                    return;
                Q_EMIT tvPictureFailed(httpStatus > 0
                                           ? tr("The receiver gave no picture (HTTP %1).").arg(httpStatus)
                                           : tr("The receiver gave no picture: it did not answer."));
            });
    connect(engine, &TavrelRequest::replyUnreadable, this, [this](RequestType type) {
        if (type == ReqScreenshot)
            Q_EMIT tvPictureFailed(tr("The receiver's answer is no picture."));
    });
}
