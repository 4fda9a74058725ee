// Anagrams: the dictionary words made of given letters, "*" standing for
// any one character.
#pragma once

// Adds the code of every word of every document dictionary (in list order,
// each in word order) whose bytes are an anagram of `letters` to the result
// list as a one-part solution. Ends when the list grows beyond
// maximum_solutions or on the stop flag.
void find_anagrams(const char *letters);
