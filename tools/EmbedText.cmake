# Writes a C++ source that holds a text file as a byte array: cmake -DINPUT=.. -DOUTPUT=..
# -DFUNCTION=name -DNAMESPACE=ns -P EmbedText.cmake
file(READ "${INPUT}" content HEX)
string(LENGTH "${content}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${content}")
string(REGEX REPLACE "(([^,]*,){16})" "\\1\n    " bytes "${bytes}")
get_filename_component(name "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp"
"// Generated at build time from ${name}; edit that file instead.
#include <QString>

namespace ${NAMESPACE} {

QString ${FUNCTION}()
{
    static const char bytes[] = {
    ${bytes}
    };
    return QString::fromUtf8(bytes, ${size});
}

} // namespace ${NAMESPACE}
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
