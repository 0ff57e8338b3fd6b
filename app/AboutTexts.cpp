#include "AboutTexts.h"

#include "Language.h"

AboutTextSet AboutTexts;

void SetAboutTexts()
{
    AboutTexts.title = Texts("QL540 系列对讲机编程软件",
                             "Norvale TARVEX Electronic Co.,Ltd. QL540 series program software. ");
    AboutTexts.version =
        VersionText
        + Texts("  版权所有 (C) 北岭远岚电子有限公司，保留所有权利。",
                "  Copyright (C) Norvale TARVEX Electronic Co.,Ltd. All rights reserved.");
    AboutTexts.description =
        Texts("本软件由北岭远岚电子有限公司开发，用于 QL540 系列对讲机的编程。",
              "This software was developed by Norvale TARVEX Electronic Co.,Ltd. for programming "
              "QL540 series radios.");
    AboutTexts.disclaimer = Texts(
        "警告：本软件受著作权法和国际条约保护。未经授权擅自复制、分发本软件或其任何部分，"
        "将承担民事责任，并可能在法律允许的最大范围内受到刑事追究。",
        "Warning: this program is protected by copyright law and international treaties. "
        "Unauthorised reproduction or distribution of this program, or any portion of it, may "
        "result in civil liability and criminal prosecution to the fullest extent of the law.");
    AboutTexts.ok = Texts("确定", "Confirm");
    AboutTexts.systemInfo = Texts("系统信息(&S)...", "System Information(&S)...");
}
