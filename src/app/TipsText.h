#pragma once

#include <QString>

// The formatted text of the Tips/Suggestions tab.
QString tipsTextHtml();
