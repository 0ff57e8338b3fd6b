#include "PortErrorText.h"

LinkText PortErrorText(const PortOpenResult &result)
{
    LinkText text{QStringLiteral("通讯端口打开错误，请正确设置通讯端口 ！"),
                  QStringLiteral("Communication port is error, please setting right "
                                 "communication port . ！")};
    const QString device = result.device.isEmpty() ? QStringLiteral("-") : result.device;
    text.chinese += QStringLiteral("\n\n设备：") + device;
    text.english += QStringLiteral("\n\nDevice: ") + device;
    if (!result.reason.isEmpty()) {
        text.chinese += QStringLiteral("\n原因：") + result.reason;
        text.english += QStringLiteral("\nReason: ") + result.reason;
    }
    if (result.accessDenied) {
        text.chinese += QStringLiteral("\n在 Linux 上，用户须属于 dialout 组"
                                       "（sudo usermod -aG dialout 用户名，然后重新登录）。");
        text.english += QStringLiteral("\nOn Linux the user must belong to the dialout group "
                                       "(sudo usermod -aG dialout USER, then log in again).");
    }
    return text;
}
