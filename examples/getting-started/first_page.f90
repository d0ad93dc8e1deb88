! The first page in Fortran: a dial of twelve marks on a circle with an arrow for the hand,
! saved as an enhanced metafile.
!
!   gfortran first_page.f90 -o first_page_fortran $(pkg-config --cflags --libs tamvel-fortran)
!   ./first_page_fortran         writes first_page.emf (or the file named on the command line)
program first_page
  use tamvel
  implicit none
  real, parameter :: degree = 3.14159265 / 180.0
  character(len=512) :: path
  real :: angle
  integer :: hour

  path = 'first_page.emf'
  if (command_argument_count() >= 1) call get_command_argument(1, path)
  if (plots(210.0, 148.0, 0) == 0) stop 1

  ! Text is character(*): the module passes its length for you.
  call symbol(20.0, 125.0, 7.0, 'tamvel from Fortran', 0.0, 19)

  ! The dial about (105, 65): a circle and a filled circle (CTSYM2 code 7) every hour.
  call pen(3)
  call arc(105.0, 65.0, 45.0, 0.0, 360.0, 0)
  do hour = 1, 12
    angle = (90.0 - 30.0 * hour) * degree
    call penc(9, 0, 0, 0)
    call ctsym2(105.0 + 40.0 * cos(angle), 65.0 + 40.0 * sin(angle), 4.0, 7, 0.0, 3)
    call penc(0, 0, 0, 0)
    ! A whole number (digits -1) centred (align 1) on the point.
    call numbr2(105.0 + 32.0 * cos(angle), 65.0 + 32.0 * sin(angle) - 1.5, 3.5, &
                real(hour), 0.0, -1, 1)
  end do

  ! The hand: an arrow with a filled head (type 6) and its shaft (10 + 6).
  call penc(2, 0, 0, 0)
  call arowhd(105.0, 65.0, 105.0 + 25.0 * cos(30.0 * degree), 65.0 + 25.0 * sin(30.0 * degree), &
              6.0, 4.0, 16)

  call plot(0.0, 0.0, 999)
  if (savefile(trim(path)) /= 0) stop 1
  print '(a, a)', 'wrote ', trim(path)
end program first_page
