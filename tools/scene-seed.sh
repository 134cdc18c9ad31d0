# Sourced by the demo tools. The program seeds the C runtime's generator with the second it
# starts in, and the first draw picks the first figure's scene: below 34 of 100, the ladder
# visit. msvcrt's first rand() after srand(t) is bits 16 to 30 of t * 214013 + 2531011. Draws
# rise by about 3 a second, so within half a minute comes a second whose draw, and the draws
# of the next two (the program may take that long to start), choose the ladder visit: a
# recording then always shows the same scene.
first_draw() {
  echo $(((((($1 * 214013 + 2531011) & 0xFFFFFFFF) >> 16) & 0x7FFF) % 100))
}
ladder_visit_starts_now() {
  local now
  now=$(date +%s)
  for lead in 0 1 2; do
    [ "$(first_draw $((now + lead)))" -lt 34 ] || return 1
  done
}
# Waits, at most 40 s, until a program started now sends the ladder visit first.
wait_for_ladder_visit() {
  local wait
  for ((wait = 0; wait < 40; wait++)); do
    ladder_visit_starts_now && return 0
    sleep 1
  done
}
