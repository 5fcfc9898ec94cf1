# Renders MIDI (one loop period, as the desktop plays it) into OUT.ogg and
# writes the period in frames at 44100 Hz into OUT.loop.
# SDL's disk driver says on stderr that it is in use: only a failure is told.
execute_process(COMMAND ${TUNERENDER} ${MIDI} ${OUT}.raw RESULT_VARIABLE failed OUTPUT_QUIET ERROR_VARIABLE said)
if(failed)
  message(FATAL_ERROR "tessmar-tunerender could not render ${MIDI}: ${said}")
endif()
file(SIZE ${OUT}.raw bytes)
math(EXPR frames "${bytes} / 4")
execute_process(COMMAND ${OPUSENC} --quiet --raw --raw-rate 44100 --raw-chan 2 --bitrate 64 ${OUT}.raw ${OUT}.ogg
  RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "opusenc could not encode ${OUT}.raw")
endif()
file(REMOVE ${OUT}.raw)
file(WRITE ${OUT}.loop "${frames}\n")
