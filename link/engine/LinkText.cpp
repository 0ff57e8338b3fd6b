#include "LinkText.h"

#include "Globals.h"

QString LinkText::current() const { return IsChinese ? chinese : english; }
