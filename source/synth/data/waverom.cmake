# The wave ROM image, generated at build time by tools/waverom.
set(waverom_image "${CMAKE_CURRENT_BINARY_DIR}/waverom.wav")
add_custom_command(
  OUTPUT "${waverom_image}"
  COMMAND virel_waverom_gen "${waverom_image}"
  DEPENDS virel_waverom_gen
  COMMENT "Generating the wave ROM image"
  VERBATIM)
virel_embed(zentdata NAMESPACE zentdata SYMBOL waverom INPUT "${waverom_image}" DEPENDS virel_waverom_gen)
