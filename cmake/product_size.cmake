# launcher.exe lives in the device's flash memory and is loaded at every
# start, so the Windows build compiles the code that goes into it for size
# and lets the linker drop every function and datum that nothing reaches.
# The test programs link the same libraries, so they test this very code.
set(product_size_compile_options -Os -ffunction-sections -fdata-sections)
foreach(target tinyxml tarvolen_platform tarvolen_runtime tarvolen_xpath tarvolen_document_guard tarvolen_launcher launcher)
  target_compile_options(${target} PRIVATE ${product_size_compile_options})
endforeach()
target_link_options(launcher PRIVATE -Wl,--gc-sections)
# The link map shows what each library and object file adds; the size check
# (scripts/launcher_size.sh) prints it when the bound is passed.
target_link_options(launcher PRIVATE -Wl,-Map=$<TARGET_FILE_DIR:launcher>/launcher.map)
