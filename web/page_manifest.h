#pragma once

#include <string>
#include <string_view>

// The drawing the icon is rendered from: the installed app's icon at any size.
std::string iconDrawing();

// The web app's manifest, in JSON, for an app of this name.
std::string manifest(std::string_view name);
