#pragma once

#include <QString>

namespace resources {

// The texts of the help window's three tabs.
QString generalHelp();
QString howToUseHelp();
QString troubleShootingHelp();

} // namespace resources
