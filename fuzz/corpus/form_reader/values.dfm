object A: T
  S = [x, y]
  N = -$1F
  T = 'a''b'
end
