# find_package(Abrivo 1.2 REQUIRED) gives the imported target Abrivo::abrivo:
# libabrivo.so.1 and the include directory of <abrivo/abrivo.h>.
include("${CMAKE_CURRENT_LIST_DIR}/AbrivoTargets.cmake")
