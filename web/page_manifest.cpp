#include "page_manifest.h"

#include "layout_table.h"
#include "page_files.h"
#include "page_styles.h"

std::string iconDrawing()
{
    return fs::path(fileName(FormIcon)).replace_extension(".svg").string();
}

std::string manifest(std::string_view name)
{
    const std::string colour = jsonString(css(FormBackground));
    return "{\n  \"name\": " + jsonString(name) + ",\n  \"short_name\": " + jsonString(name) +
           ",\n  \"lang\": \"ru\",\n  \"start_url\": \"./\",\n  \"scope\": \"./\",\n"
           "  \"display\": \"standalone\",\n  \"background_color\": " +
           colour + ",\n  \"theme_color\": " + colour +
           ",\n  \"icons\": [\n    {\"src\": " + jsonString(iconDrawing()) +
           ", \"sizes\": \"any\", \"type\": \"image/svg+xml\"},\n    {\"src\": " +
           jsonString(fileName(FormIcon)) + ", \"sizes\": \"48x48\", \"type\": \"image/png\"}\n  ]\n}\n";
}
