# Read by ctest after the core tests were discovered: the tests that take minutes rather than
# seconds, labelled "slow" so that the everyday run can leave them out (ctest -LE slow).
set(morvane_slow_tests
    # Five thousand durable writes, about 90 s on a 2-core machine.
    WrittenFilesCheck.DefaultOnEveryKeyLeavesNoErrorOrWarning)
set_tests_properties(${morvane_slow_tests} PROPERTIES LABELS slow)
