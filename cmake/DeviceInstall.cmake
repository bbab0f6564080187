# The install manifest: what every device that this build makes or refreshes
# gets (read by wince/src/device/install_manifest.cpp). Device programs and
# libraries are links to the built files; a target this build does not have
# is left out, so a program is installed as soon as its target exists.
set(_device_rows "")
macro(_device_link target device_path)
  if(TARGET ${target})
    string(APPEND _device_rows "link\t${device_path}\t$<TARGET_FILE:${target}>\n")
    # The simulator's devices get what is built with it.
    if(TARGET pelloran-sim)
      add_dependencies(pelloran-sim ${target})
    endif()
  endif()
endmacro()
_device_link(Pelloran "/Program Files/Pelloran/Pelloran.dll")
_device_link(PelloranOptions "/Program Files/Pelloran/PelloranOptions.exe")
_device_link(peghelp "/Windows/PegHelp.exe")
string(APPEND _device_rows "copy\t/Program Files/Pelloran/Pelloran.htm\t${CMAKE_SOURCE_DIR}/options/res/Pelloran.htm\n")
string(APPEND _device_rows "registry\t${CMAKE_SOURCE_DIR}/host/install.reg\n")
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/device-install.txt CONTENT "${_device_rows}")
