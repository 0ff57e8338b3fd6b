// The six texts of the about box in the current language. The start-up
// sequence and a real language change prepare them; the box copies them
// into its controls when it opens.
#pragma once

#include <QString>

struct AboutTextSet {
    QString title;
    QString version;
    QString description;
    QString disclaimer;
    QString ok;
    QString systemInfo;
};
extern AboutTextSet AboutTexts;

void SetAboutTexts();
