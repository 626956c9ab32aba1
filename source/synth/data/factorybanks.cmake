# The twelve factory banks, generated at build time by tools/banks: one SysEx image per storage,
# each embedded as zentdata::sysex_<storage>.
set(factory_bank_symbols ZENTINT R301 R302 R303 R304 R305 R400 S301 S302 T301 T302 T303)
set(factory_bank_images "")
foreach(symbol IN LISTS factory_bank_symbols)
  list(APPEND factory_bank_images "${CMAKE_CURRENT_BINARY_DIR}/sysex_${symbol}.syx")
endforeach()
add_custom_command(
  OUTPUT ${factory_bank_images}
  COMMAND virel_banks_gen "${CMAKE_CURRENT_BINARY_DIR}"
  DEPENDS virel_banks_gen
  COMMENT "Generating the factory banks"
  VERBATIM)
foreach(symbol IN LISTS factory_bank_symbols)
  virel_embed(zentdata NAMESPACE zentdata SYMBOL sysex_${symbol}
              INPUT "${CMAKE_CURRENT_BINARY_DIR}/sysex_${symbol}.syx" DEPENDS virel_banks_gen)
endforeach()
