# Runs makensis for one architecture: cmake -DMAKENSIS= -DSCRIPT= -DOUTFILE= -DARCH= -DVERSION=
# -DBIN= -DDATA= -DPROGRAMS="a.exe;b.exe" -P make_installer.cmake
set(bytes 0)
foreach(program IN LISTS PROGRAMS)
  file(SIZE ${program} size)
  math(EXPR bytes "${bytes} + ${size}")
endforeach()
math(EXPR kib "(${bytes} + 1023) / 1024 + 8")
execute_process(
  COMMAND ${MAKENSIS} -V2 -INPUTCHARSET UTF8 -DVERSION=${VERSION} -DARCH=${ARCH} -DBIN=${BIN}
    -DDATA=${DATA} -DOUTFILE=${OUTFILE} -DSIZE_KB=${kib} ${SCRIPT}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "makensis failed (${status})")
endif()
