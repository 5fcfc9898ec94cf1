# Renders MIDI (one loop period, as the desktop plays it) into OUT.ogg and
# writes the period in frames at 44100 Hz into OUT.loop.
execute_process(COMMAND ${TUNERENDER} ${MIDI} ${OUT}.raw RESULT_VARIABLE failed OUTPUT_QUIET)
if(failed)
  message(FATAL_ERROR "tessmar-tunerender could not render ${MIDI}")
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
