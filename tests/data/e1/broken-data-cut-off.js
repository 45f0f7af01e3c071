<html>
<head>
<script type="text/javascript">
function update()
{
	/* (page script omitted in fixture: passes the variables below to parent.headerUpdateEPGData(serviceName, nowT, nowD, nowSt, nextT, nextD, nextSt), parent.headerUpdateStatusBar(vpid, apid, ip, lock, upTime, agc, snr, ber), parent.headerUpdateVolumeBar(volume, mute), parent.headerUpdateChannelStatusBar(dolby, crypt, format), parent.headerUpdateRecording(recording), parent.updateVideoBar(videoPosition, videoTime, diskGB, d