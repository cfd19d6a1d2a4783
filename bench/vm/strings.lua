-- The same work as strings.vkasm: globals, a new string each round,
-- assignment, concatenation and comparison.
acc = ""
count = 0
i = 0
local stem = "wo"
repeat
  local tmp = stem .. "rd"
  acc = tmp
  acc = acc .. tmp
  if acc > tmp then count = count + 1 end
  i = i + 1
until i >= 2000000
print(count)
