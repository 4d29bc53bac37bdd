# Copies data/ into the program folder. file(COPY) skips files whose
# timestamp already matches, so the user's own files there are never touched
# and unchanged shipped files are not rewritten on every build.
file(COPY ${SRC}/ DESTINATION ${DST})
