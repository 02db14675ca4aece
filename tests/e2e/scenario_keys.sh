#!/usr/bin/env bash
# A test run played from the keyboard alone: T, then 1 to 5 (4 on the keypad), each once the answer
# of the last has gone, every guess stored; a key held down under Play Blind guesses once.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/steps.sh"
e2e_init "$@"

e2e_start_app
trainer=$(steps_new_user Kim "kim-pw")

e2e_key t
tries=0
for key in 1 2 3 KP_4 5; do
    tries=$((tries + 1))
    e2e_key "$key"
    e2e_wait_until 2 eval '[ "$(steps_tries Kim)" = "$tries" ]' ||
        e2e_fail "after key $key: stored tries '$(steps_tries Kim)', expected $tries"
    sleep 2.1 # the answer shows for 2 s, and a key counts nothing meanwhile
done

e2e_key o
sleep 0.6
e2e_click "$trainer" 380 46 # "Play Blind": every press would count at once
e2e_key t
xdotool keydown 2
sleep 1.5 # long past the keyboard's repeat delay
xdotool keyup 2
sleep 0.3
e2e_assert_eq "$(steps_tries Kim)" "6" "stored tries after holding a key down"

steps_close_trainer "$trainer"
e2e_pass
