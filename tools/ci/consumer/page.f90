! A Fortran program built against an installed tamvel (use tamvel): a page with a line of
! text saved to the file named by its argument.
program page_fortran
  use tamvel
  implicit none
  character(len=512) :: path
  integer :: status

  call get_command_argument(1, path)
  call chpage(1)
  if (plots(148.0, 210.0, 0) == 0) stop 1
  call plot(20.0, 30.0, 3)
  call plot(120.0, 30.0, 2)
  call symbol(20.0, 40.0, 5.0, 'consumer Fortran', 0.0, 16)
  call plot(0.0, 0.0, 999)
  status = savefile(trim(path))
  print '(a, a, a, i0)', 'page_fortran: SAVEFILE ', trim(path), ' -> ', status
  if (status /= 0) stop 1
end program page_fortran
