# Checks that the library exports its template instances whole and all 28 index families.
# Run as: cmake -DLIBRARY=<path> -P check_template_exports.cmake
execute_process(COMMAND nm -DC --defined-only "${LIBRARY}"
                OUTPUT_VARIABLE symbols RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "nm could not read ${LIBRARY}")
endif()
string(REPLACE "> >" ">>" symbols "${symbols}")

set(expected "StringInSet(char const*, SUValue const&)"
    "QV_GLOBALSTRUCTUREREFNAME<QV_GENERICSTRUCTURE>::CheckCompatibleStructureType(QV_ModelType*)"
    "QV_GLOBALSTRUCTUREREFNAME<QV_GENERICSTRUCTURE>::CreateDummyInstance()")

foreach(word II IS SI SS III IIS ISI ISS SII SIS SSI SSS IIII IIIS IISI IISS ISII ISIS ISSI
             ISSS SIII SIIS SISI SISS SSII SSIS SSSI SSSS)
    list(APPEND expected "QV_BASE_${word}::QV_BASE_${word}()"
         "QV_BASE_${word}::QV_BASE_${word}(QV_BASE_${word} const&)"
         "QV_BASE_${word}::~QV_BASE_${word}()"
         "QV_BASE_${word}::operator=(QV_BASE_${word} const&)" "vtable for QV_BASE_${word}")
endforeach()

set(referred QV_GENERICMODEL QV_GENERICSTREAM QV_GENERICSTRUCTURE QV_GENERICPORT QV_CONTROLPORT
    QV_CONNECTIONPORT QV_GENERICCONTROLSIGNAL QV_CONTROLSIGNAL QV_GENERICCONNECTION
    QV_CONNECTION QV_DISTRIBUTION1D QV_DISTRIBUTION2D QV_DISTRIBUTION3D)
foreach(port CONTROLPORT GENERICPORT CONNECTIONPORT)
    list(APPEND referred "QV_ARRAY_S<QV_${port}, QV_${port}>")
    foreach(kind MI MO MIO)
        list(APPEND referred QV_QV_${kind}${port})
        list(APPEND expected "QV_QV_${kind}${port}::QV_QV_${kind}${port}()"
             "QV_QV_${kind}${port}::~QV_QV_${kind}${port}()")
    endforeach()
    list(APPEND expected "QV_ARRAY_S<QV_${port}, QV_${port}>::operator()(char const*)"
         "QV_MULTIPORT<QV_${port}>::CreateConnectionPort(char const*, unsigned int)"
         "QV_MULTIPORT<QV_${port}>::FindConnectionPort(char const*)"
         "QV_MULTIPORT<QV_${port}>::GetPort(int&, bool)")
endforeach()
foreach(element REALPARAMETER REALVARIABLE PARTIALDERIVATIVE)
    list(APPEND referred "QV_ARRAY_I<QV_${element}, QV_${element}>")
    list(APPEND expected "QV_ARRAY_I<QV_${element}, QV_${element}>::NewElement()")
endforeach()
foreach(element REALVARIABLE PARTIALDERIVATIVE)
    list(APPEND referred "QV_ARRAY_II<QV_${element}, QV_${element}>"
         "QV_ARRAY_III<QV_${element}, QV_${element}>")
    list(APPEND expected "QV_ARRAY_II<QV_${element}, QV_${element}>::operator()(int, int)"
         "QV_ARRAY_III<QV_${element}, QV_${element}>::operator()(int, int, int)")
endforeach()
foreach(t IN LISTS referred)
    list(APPEND expected "QV_External<${t}>::ExternalTypeName()" "QV_External<${t}>::get() const"
         "QV_Virtual<${t}>::NewDefaultVirtual()" "QV_Virtual<${t}>::VirtualBaseType()"
         "QV_Virtual<${t}>::QV_Virtual()")
endforeach()

set(missing "")
foreach(symbol IN LISTS expected)
    string(FIND "${symbols}" "${symbol}" at)
    if(at EQUAL -1)
        string(APPEND missing "\n  ${symbol}")
    endif()
endforeach()
list(LENGTH expected count)
if(missing)
    message(FATAL_ERROR "not exported:${missing}")
endif()
message(STATUS "all ${count} expected template symbols are exported")
