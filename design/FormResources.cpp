#include "design/FormResources.h"

#include <QFile>

#include "platform/framework/SysUtils.h"

std::string FormResource(const char* Path, const std::string& What)
{
    QFile file(Path);
    if (!file.open(QIODevice::ReadOnly))
        throw EReadError(What + " " + Path + " is missing");
    return file.readAll().toStdString();
}
