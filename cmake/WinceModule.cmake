# Resources and exports of device modules on non-Windows builds: wince-rc
# compiles the module's .rc and .def into C++ sources linked into it.
#
#   wince_add_resources(<target> <file.rc> [extra include folders...])
#   wince_add_exports(<target> <file.def>)

set(WINCE_MODULE_HEADER_DIR ${CMAKE_CURRENT_LIST_DIR}/../wince/src/module)
set(WINCE_PLATFORM_INCLUDE_DIR ${CMAKE_CURRENT_LIST_DIR}/../wince/include)

function(_wince_module_properties target source)
  set_source_files_properties(${source} PROPERTIES INCLUDE_DIRECTORIES ${WINCE_MODULE_HEADER_DIR})
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    # The loader finds a program's own tables with dlsym.
    set_target_properties(${target} PROPERTIES ENABLE_EXPORTS ON)
  elseif(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # Unique symbols would make the library impossible to unload, and
    # FreeLibrary must run its static destructors.
    target_compile_options(${target} PRIVATE -fno-gnu-unique)
  endif()
endfunction()

function(wince_add_resources target rcfile)
  get_filename_component(script ${rcfile} ABSOLUTE)
  get_filename_component(name ${script} NAME_WE)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_${name}_rc.cpp)
  set(includes -I ${WINCE_PLATFORM_INCLUDE_DIR})
  foreach(dir IN LISTS ARGN)
    get_filename_component(dir ${dir} ABSOLUTE)
    list(APPEND includes -I ${dir})
  endforeach()
  add_custom_command(OUTPUT ${out}
                     COMMAND wince-rc ${includes} --out ${out} --deps ${out}.d ${script}
                     DEPENDS wince-rc ${script}
                     DEPFILE ${out}.d
                     COMMENT "Compiling resources ${name}.rc"
                     VERBATIM)
  target_sources(${target} PRIVATE ${out})
  _wince_module_properties(${target} ${out})
endfunction()

function(wince_add_exports target deffile)
  get_filename_component(def ${deffile} ABSOLUTE)
  get_filename_component(name ${def} NAME_WE)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_${name}_exports.cpp)
  add_custom_command(OUTPUT ${out}
                     COMMAND wince-rc --def ${def} --out ${out}
                     DEPENDS wince-rc ${def}
                     COMMENT "Compiling exports ${name}.def"
                     VERBATIM)
  target_sources(${target} PRIVATE ${out})
  _wince_module_properties(${target} ${out})
endfunction()
