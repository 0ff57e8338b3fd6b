#include "PortErrorText.h"

#include "Globals.h"

#include <QStringList>

namespace {

// The usual reasons in the user's language; anything else in the system's
// own words.
BilingualText ReasonText(const PortOpenResult &result)
{
    if (result.inUse) {
        QStringList zh, en;
        if (!result.lockFile.isEmpty()) {
            zh << QStringLiteral("锁文件 %1").arg(result.lockFile);
            en << QStringLiteral("lock file %1").arg(result.lockFile);
        }
        if (!result.holder.isEmpty()) {
            zh << QStringLiteral("进程 %1").arg(result.holder);
            en << QStringLiteral("process %1").arg(result.holder);
        }
        const QString zhWhere =
            zh.isEmpty() ? QString() : QStringLiteral("（%1）").arg(zh.join(u'，'));
        const QString enWhere =
            en.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(en.join(QLatin1String(", ")));
        return {QStringLiteral("设备正被其他程序使用%1。请关闭该程序后再试。").arg(zhWhere),
                QStringLiteral("The device is in use by another program%1. Close that program and "
                               "try again.")
                    .arg(enWhere)};
    }
    if (result.accessDenied)
        return {QStringLiteral("没有打开该设备的权限。"), QStringLiteral("Permission denied.")};
    if (result.notFound)
        return {QStringLiteral("设备不存在（编程线是否已插好？）。"),
                QStringLiteral("The device does not exist (is the cable plugged in?).")};
    return {result.reason, result.reason};
}

// Beneath the rest: the cable that is there, where exactly one is.
BilingualText CableText(const PortOpenResult &result)
{
    if (!result.soleCable)
        return {};
    const BilingualText line = PortLine(*result.soleCable, HostPortPlatform());
    return {QStringLiteral(
                "\n现有一条 USB 串口线：%1。请在端口设置窗口中选择 %2，或用 --port %2 指定。")
                .arg(line.chinese, result.soleCable->name),
            QStringLiteral("\nOne USB serial cable is present: %1. Choose %2 in the port setup "
                           "window, or give --port %2.")
                .arg(line.english, result.soleCable->name)};
}

} // namespace

BilingualText PortErrorText(const PortOpenResult &result)
{
    BilingualText text{QStringLiteral("通讯端口打开错误，请正确设置通讯端口 ！"),
                       QStringLiteral("Communication port is error, please setting right "
                                      "communication port . ！")};
    if (result.device.isEmpty()) {
        // Nothing to name: say how to give the number a device.
        text.chinese +=
            QStringLiteral("\n\n没有串口绑定到 COM%1。请在端口设置窗口的“设备”栏填写编程线的串口"
                           "设备（例如 /dev/ttyUSB0），或启动时用 --port 设备 指定。")
                .arg(PortNumber);
        text.english +=
            QStringLiteral("\n\nNo serial port is bound to COM%1. Type the cable's device "
                           "(e.g. /dev/ttyUSB0) into the Device field of the port setup "
                           "window (Communication), or start with --port DEVICE.")
                .arg(PortNumber);
        return text + CableText(result);
    }
    const QString device = result.option > 0
                               ? PortOptionLabel(result.option, result.device, HostPortPlatform())
                               : result.device;
    text.chinese += QStringLiteral("\n\n设备：") + device;
    text.english += QStringLiteral("\n\nDevice: ") + device;
    const BilingualText reason = ReasonText(result);
    if (!reason.chinese.isEmpty()) {
        text.chinese += QStringLiteral("\n原因：") + reason.chinese;
        text.english += QStringLiteral("\nReason: ") + reason.english;
    }
    if (result.accessDenied && !result.inUse) {
        text.chinese += QStringLiteral("\n在 Linux 上，用户须属于 dialout 组"
                                       "（sudo usermod -aG dialout 用户名，然后重新登录）。");
        text.english += QStringLiteral("\nOn Linux the user must belong to the dialout group "
                                       "(sudo usermod -aG dialout USER, then log in again).");
    }
    return text + CableText(result);
}
