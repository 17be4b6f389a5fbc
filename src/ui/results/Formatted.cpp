// Filling in language format texts.
#include "Formatted.h"

#include "app/Texts.h"

namespace kalvintor::ui {

QString formatted(int id, const char* designTime, const std::vector<language::FormatArgument>& arguments) {
    return QString::fromStdString(language::FormatText(text(id, designTime).toStdString(), arguments));
}

}  // namespace kalvintor::ui
