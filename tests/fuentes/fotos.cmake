# Makes the pictures of one font configuration (FONTCONFIG_FILE and FENWA_CAPTURAS = CARPETA
# come from the test's environment) and runs the rendering tests under it: the chart
# rendering tests with their pictures, the window pictures, the bitmap tests of the
# command-line tool, a picture of the desktop program's main window and the tool's bitmaps.
# Any failing program fails the run, as does a picture that was not made.
#   cmake -DCARPETA=<folder> -DBIN=<build/bin> -DEJEMPLOS=<examples folder> -P fotos.cmake
file(REMOVE_RECURSE "${CARPETA}")
file(MAKE_DIRECTORY "${CARPETA}")

set(fallos "")
macro(ejecutar nombre)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE estado OUTPUT_VARIABLE salida
                  ERROR_VARIABLE salida)
  if(NOT estado EQUAL 0)
    message("---- ${nombre} (${estado}):\n${salida}")
    string(APPEND fallos " ${nombre}")
  endif()
endmacro()

ejecutar(test_chart_qt "${BIN}/test_chart_qt")
ejecutar(test_ui "${BIN}/test_ui" --gtest_filter=UiTest.Capturas)
ejecutar(test_cli "${BIN}/test_cli" --gtest_filter=CliBmpTest.*)
ejecutar(fenwa "${CMAKE_COMMAND}" -E env "FENWA_CAPTURA=${CARPETA}/programa.png"
         FENWA_CAPTURA_SALIR=1 "${BIN}/fenwa" "${EJEMPLOS}/NileMin.sam")
ejecutar(fenwa-cli "${BIN}/fenwa-cli" -m R/S --autocorrelacion
         --bmp "${CARPETA}/cli-{nombre}.bmp" --bmp-auto "${CARPETA}/cli-{nombre}-auto.bmp"
         "${EJEMPLOS}/NileMin.sam")

foreach(foto grafica_normal.png grafica_negrita.png grafica_normal_bn.png principal.png
        graficas_metodo.png programa.png cli-NileMin.bmp cli-NileMin-auto.bmp)
  if(NOT EXISTS "${CARPETA}/${foto}")
    string(APPEND fallos " ${foto}")
  endif()
endforeach()
if(fallos)
  message(FATAL_ERROR "failed or missing:${fallos}")
endif()
