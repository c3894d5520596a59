#ifndef APLPATCH_TESTING_ALLOCATION_COUNTER_H_
#define APLPATCH_TESTING_ALLOCATION_COUNTER_H_

namespace aplpatch {

// How many times the test program has allocated with operator new so far. Linking this replaces
// every global new and delete of the program (plain, array, nothrow, sized) with malloc and free,
// all together, so that a pair never mixes this allocator with the library's or a sanitizer's.
long allocationsSoFar();

}  // namespace aplpatch

#endif  // APLPATCH_TESTING_ALLOCATION_COUNTER_H_
