#include "InstanceRegistration.h"
#include "VelmarApplication.h"

#include <db/Separators.h>

int main(int argc, char* argv[])
{
    db::useProgramSeparators();
    VelmarApplication app(argc, argv);
    const InstanceRegistration registration(QCoreApplication::applicationFilePath());
    return app.run();
}
