! The Fortran module of tamvel: the library's calls as Fortran procedures.
!
!   use tamvel
!   dc = plots(210.0, 297.0, 0)
!   call plot(20.0, 30.0, 3); call plot(120.0, 30.0, 2)
!   call symbol(20.0, 40.0, 5.0, 'ABC', 0.0, 3)
!   call plot(0.0, 0.0, 999)
!   status = savefile('page.emf')
!
! Numbers are default REAL and INTEGER (32 bits with gfortran) passed by value; results come
! back through the arguments the library writes. Text goes in as character(*): the wrappers
! at the end (kanji, symbol, savefile, ...) describe it for the F form of the call (KANJIF,
! SYMBOLF, SAVEFILEF, ...), so trailing blanks are dropped as the library drops them. The
! forms taking NUL-terminated text are left out where an F form exists; the host services
! have none, so their text ends in c_null_char.
!
! On 32-bit Windows every call is __stdcall: compile this file with -DTAMVEL_STDCALL (the
! CMake build does) so that gfortran calls and names them that way (_PLOT@12).
#ifdef TAMVEL_STDCALL
#define TAMVEL_CALL(name) !GCC$ ATTRIBUTES STDCALL :: name
#else
#define TAMVEL_CALL(name)
#endif

module tamvel
  use, intrinsic :: iso_c_binding
  implicit none

  ! The descriptor of a Fortran string that the F forms take: text and length in bytes.
  type, bind(C) :: tamvel_fstring
    type(c_ptr) :: text
    integer(c_int32_t) :: length
  end type tamvel_fstring

  ! A point in page units (1/1440 inch), for line0.
  type, bind(C) :: tamvel_point
    integer(c_int32_t) :: x
    integer(c_int32_t) :: y
  end type tamvel_point

  interface

    ! pages
    subroutine chpage(page) bind(C, name='CHPAGE')
      import
      TAMVEL_CALL(chpage)
      integer(c_int32_t), value :: page
    end subroutine chpage
    subroutine nextpage() bind(C, name='NEXTPAGE')
      import
      TAMVEL_CALL(nextpage)
    end subroutine nextpage
    function mhemf(index) bind(C, name='MHEMF')
      import
      TAMVEL_CALL(mhemf)
      integer(c_int32_t), value :: index
      integer(c_int32_t) :: mhemf
    end function mhemf
    function mhdc(index) bind(C, name='MHDC')
      import
      TAMVEL_CALL(mhdc)
      integer(c_int32_t), value :: index
      integer(c_int32_t) :: mhdc
    end function mhdc
    function isstandby(page) bind(C, name='IsStandby')
      import
      TAMVEL_CALL(isstandby)
      integer(c_int32_t), value :: page
      integer(c_int32_t) :: isstandby
    end function isstandby
    subroutine gpixel(width, height) bind(C, name='GPIXEL')
      import
      TAMVEL_CALL(gpixel)
      real(c_float), intent(out) :: width
      real(c_float), intent(out) :: height
    end subroutine gpixel

    ! coordinates and the plot call
    subroutine plot(x, y, pen) bind(C, name='PLOT')
      import
      TAMVEL_CALL(plot)
      real(c_float), value :: x
      real(c_float), value :: y
      integer(c_int32_t), value :: pen
    end subroutine plot
    subroutine where(x, y, factor) bind(C, name='WHERE')
      import
      TAMVEL_CALL(where)
      real(c_float), intent(out) :: x
      real(c_float), intent(out) :: y
      real(c_float), intent(out) :: factor
    end subroutine where
    function dimtab(width, height, unused) bind(C, name='DIMTAB')
      import
      TAMVEL_CALL(dimtab)
      real(c_float), value :: width
      real(c_float), value :: height
      integer(c_int32_t), value :: unused
      integer(c_int32_t) :: dimtab
    end function dimtab
    function plots(width, height, unused) bind(C, name='PLOTS')
      import
      TAMVEL_CALL(plots)
      real(c_float), value :: width
      real(c_float), value :: height
      integer(c_int32_t), value :: unused
      integer(c_int32_t) :: plots
    end function plots
    function dimtabr(width, height, device, pixel_width, pixel_height) bind(C, name='DIMTABR')
      import
      TAMVEL_CALL(dimtabr)
      real(c_float), intent(out) :: width
      real(c_float), intent(out) :: height
      type(c_ptr), value :: device
      integer(c_int32_t), value :: pixel_width
      integer(c_int32_t), value :: pixel_height
      integer(c_int32_t) :: dimtabr
    end function dimtabr
    subroutine factor(scale) bind(C, name='FACTOR')
      import
      TAMVEL_CALL(factor)
      real(c_float), value :: scale
    end subroutine factor
    subroutine offset(x_offset, x_factor, y_offset, y_factor) bind(C, name='OFFSET')
      import
      TAMVEL_CALL(offset)
      real(c_float), value :: x_offset
      real(c_float), value :: x_factor
      real(c_float), value :: y_offset
      real(c_float), value :: y_factor
    end subroutine offset
    subroutine getoff(x_offset, x_factor, y_offset, y_factor, spacing) bind(C, name='GETOFF')
      import
      TAMVEL_CALL(getoff)
      real(c_float), intent(out) :: x_offset
      real(c_float), intent(out) :: x_factor
      real(c_float), intent(out) :: y_offset
      real(c_float), intent(out) :: y_factor
      real(c_float), intent(out) :: spacing
    end subroutine getoff
    subroutine rotate(angle) bind(C, name='ROTATE')
      import
      TAMVEL_CALL(rotate)
      real(c_float), value :: angle
    end subroutine rotate

    ! text state
    subroutine setfon(code, vertical) bind(C, name='SETFON')
      import
      TAMVEL_CALL(setfon)
      integer(c_int32_t), value :: code
      integer(c_int32_t), value :: vertical
    end subroutine setfon
    subroutine getfon(code, vertical) bind(C, name='GETFON')
      import
      TAMVEL_CALL(getfon)
      integer(c_int32_t), intent(out) :: code
      integer(c_int32_t), intent(out) :: vertical
    end subroutine getfon
    subroutine acsset(code) bind(C, name='ACSSET')
      import
      TAMVEL_CALL(acsset)
      integer(c_int32_t), value :: code
    end subroutine acsset
    subroutine setweight(weight) bind(C, name='SETWEIGHT')
      import
      TAMVEL_CALL(setweight)
      integer(c_int32_t), value :: weight
    end subroutine setweight
    subroutine getweight(weight) bind(C, name='GETWEIGHT')
      import
      TAMVEL_CALL(getweight)
      integer(c_int32_t), intent(out) :: weight
    end subroutine getweight
    subroutine setfonetc(italic, underline, strikeout) bind(C, name='SETFONETC')
      import
      TAMVEL_CALL(setfonetc)
      integer(c_int32_t), value :: italic
      integer(c_int32_t), value :: underline
      integer(c_int32_t), value :: strikeout
    end subroutine setfonetc
    subroutine setdeg(angle) bind(C, name='SETDEG')
      import
      TAMVEL_CALL(setdeg)
      real(c_float), value :: angle
    end subroutine setdeg
    subroutine getdeg(angle) bind(C, name='GETDEG')
      import
      TAMVEL_CALL(getdeg)
      real(c_float), intent(out) :: angle
    end subroutine getdeg
    subroutine setspc(spacing) bind(C, name='SETSPC')
      import
      TAMVEL_CALL(setspc)
      real(c_float), value :: spacing
    end subroutine setspc
    subroutine setalg(vertical) bind(C, name='SETALG')
      import
      TAMVEL_CALL(setalg)
      integer(c_int32_t), value :: vertical
    end subroutine setalg
    subroutine getalg(code) bind(C, name='GETALG')
      import
      TAMVEL_CALL(getalg)
      integer(c_int32_t), intent(out) :: code
    end subroutine getalg
    subroutine space(spacing) bind(C, name='SPACE')
      import
      TAMVEL_CALL(space)
      real(c_float), value :: spacing
    end subroutine space
    subroutine spacec(ratio) bind(C, name='SPACEC')
      import
      TAMVEL_CALL(spacec)
      real(c_float), value :: ratio
    end subroutine spacec
    subroutine kspace(spacing) bind(C, name='KSPACE')
      import
      TAMVEL_CALL(kspace)
      real(c_float), value :: spacing
    end subroutine kspace
    subroutine kspacc(ratio) bind(C, name='KSPACC')
      import
      TAMVEL_CALL(kspacc)
      real(c_float), value :: ratio
    end subroutine kspacc
    subroutine getksp(horizontal, vertical) bind(C, name='GETKSP')
      import
      TAMVEL_CALL(getksp)
      real(c_float), intent(out) :: horizontal
      real(c_float), intent(out) :: vertical
    end subroutine getksp

    ! text drawing (character(*) wrappers below)
    subroutine kanjif(x, y, height, text, angle, n) bind(C, name='KANJIF')
      import
      TAMVEL_CALL(kanjif)
      real(c_float), value :: x
      real(c_float), value :: y
      real(c_float), value :: height
      type(tamvel_fstring), intent(in) :: text
      real(c_float), value :: angle
      integer(c_int32_t), value :: n
    end subroutine kanjif
    subroutine kanji2f(x, y, height, text, angle, n, align) bind(C, name='KANJI2F')
      import
      TAMVEL_CALL(kanji2f)
      real(c_float), value :: x
      real(c_float), value :: y
      real(c_float), value :: height
      type(tamvel_fstring), intent(in) :: text
      real(c_float), value :: angle
      integer(c_int32_t), value :: n
      integer(c_int32_t), value :: align
    end subroutine kanji2f
    subroutine symbolf(x, y, height, text, angle, n) bind(C, name='SYMBOLF')
      import
      TAMVEL_CALL(symbolf)
      real(c_float), value :: x
      real(c_float), value :: y
      real(c_float), value :: height
      type(tamvel_fstring), intent(in) :: text
      real(c_float), value :: angle
      integer(c_int32_t), value :: n
    end subroutine symbolf
    subroutine symbl2f(x, y, height, text, angle, n, align) bind(C, name='SYMBL2F')
      import
      TAMVEL_CALL(symbl2f)
      real(c_float), value :: x
      real(c_float), value :: y
      real(c_float), value :: height
      type(tamvel_fstring), intent(in) :: text
      real(c_float), value :: angle
      integer(c_int32_t), value :: n
      integer(c_int32_t), value :: align
    end subroutine symbl2f
    subroutine textoutf(x, y, text, n) bind(C, name='TEXTOUTF')
      import
      TAMVEL_CALL(textoutf)
      real(c_float), value :: x
      real(c_float), value :: y
      type(tamvel_fstring), intent(in) :: text
      integer(c_int32_t), value :: n
    end subroutine textoutf
    function kanjiwidf(height, text, n) bind(C, name='KANJIWIDF')
      import
      TAMVEL_CALL(kanjiwidf)
      real(c_float), value :: height
      type(tamvel_fstring), intent(in) :: text
      integer(c_int32_t), value :: n
      real(c_float) :: kanjiwidf
    end function kanjiwidf
    function symblwidf(height, text, n) bind(C, name='SYMBLWIDF')
      import
      TAMVEL_CALL(symblwidf)
      real(c_float), value :: height
      type(tamvel_fstring), intent(in) :: text
      integer(c_int32_t), value :: n
      real(c_float) :: symblwidf
    end function symblwidf
    function len2_descriptor(text) bind(C, name='LEN2')
      import
      TAMVEL_CALL(len2_descriptor)
      type(tamvel_fstring), intent(in) :: text
      integer(c_int32_t) :: len2_descriptor
    end function len2_descriptor

    ! numbers
    subroutine number(x, y, height, number_value, angle, digits) bind(C, name='NUMBER')
      import
      TAMVEL_CALL(number)
      real(c_float), value :: x
      real(c_float), value :: y
      real(c_float), value :: height
      real(c_float), value :: number_value
      real(c_float), value :: angle
      integer(c_int32_t), value :: digits
    end subroutine number
    subroutine numbr2(x, y, height, number_value, angle, digits, align) bind(C, name='NUMBR2')
      import
      TAMVEL_CALL(numbr2)
      real(c_float), value :: x
      real(c_float), value :: y
      real(c_float), value :: height
      real(c_float), value :: number_value
      real(c_float), value :: angle
      integer(c_int32_t), value :: digits
      integer(c_int32_t), value :: align
    end subroutine numbr2
    function numbrwid(height, number_value, digits) bind(C, name='NUMBRWID')
      import
      TAMVEL_CALL(numbrwid)
      real(c_float), value :: height
      real(c_float), value :: number_value
      integer(c_int32_t), value :: digits
      real(c_float) :: numbrwid
    end function numbrwid

    ! root-sign text
    subroutine rootk2f(x, y, height, text, angle, n, align) bind(C, name='ROOTK2F')
      import
      TAMVEL_CALL(rootk2f)
      real(c_float), value :: x
      real(c_float), value :: y
      real(c_float), value :: height
      type(tamvel_fstring), intent(in) :: text
      real(c_float), value :: angle
      integer(c_int32_t), value :: n
      integer(c_int32_t), value :: align
    end subroutine rootk2f

    ! marks
    subroutine ctsym1(x, y, height, code, angle, ipen) bind(C, name='CTSYM1')
      import
      TAMVEL_CALL(ctsym1)
      real(c_float), value :: x
      real(c_float), value :: y
      real(c_float), value :: height
      integer(c_int32_t), value :: code
      real(c_float), value :: angle
      integer(c_int32_t), value :: ipen
    end subroutine ctsym1
    subroutine ctsym2(x, y, height, code, angle, ipen) bind(C, name='CTSYM2')
      import
      TAMVEL_CALL(ctsym2)
      real(c_float), value :: x
      real(c_float), value :: y
      real(c_float), value :: height
      integer(c_int32_t), value :: code
      real(c_float), value :: angle
      integer(c_int32_t), value :: ipen
    end subroutine ctsym2
    subroutine ctsymb(x, y, height, code, angle, ipen) bind(C, name='CTSYMB')
      import
      TAMVEL_CALL(ctsymb)
      real(c_float), value :: x
      real(c_float), value :: y
      real(c_float), value :: height
      integer(c_int32_t), value :: code
      real(c_float), value :: angle
      integer(c_int32_t), value :: ipen
    end subroutine ctsymb

    ! lines and shapes
    function lntype0(unused, code) bind(C, name='LNTYPE0')
      import
      TAMVEL_CALL(lntype0)
      integer(c_int32_t), value :: unused
      integer(c_int32_t), value :: code
      integer(c_int32_t) :: lntype0
    end function lntype0
    subroutine line0(code, points, count) bind(C, name='LINE0')
      import
      TAMVEL_CALL(line0)
      integer(c_int32_t), value :: code
      type(tamvel_point), intent(in) :: points(*)
      integer(c_int32_t), value :: count
    end subroutine line0
    subroutine line6(pattern, x, y, count) bind(C, name='LINE6')
      import
      TAMVEL_CALL(line6)
      integer(c_int32_t), value :: pattern
      real(c_float), intent(in) :: x(*)
      real(c_float), intent(in) :: y(*)
      integer(c_int32_t), value :: count
    end subroutine line6
    subroutine dashp(x, y, dash) bind(C, name='DASHP')
      import
      TAMVEL_CALL(dashp)
      real(c_float), value :: x
      real(c_float), value :: y
      real(c_float), value :: dash
    end subroutine dashp
    subroutine grid(x, y, dx, dy, nx, ny) bind(C, name='GRID')
      import
      TAMVEL_CALL(grid)
      real(c_float), value :: x
      real(c_float), value :: y
      real(c_float), value :: dx
      real(c_float), value :: dy
      integer(c_int32_t), value :: nx
      integer(c_int32_t), value :: ny
    end subroutine grid
    subroutine arc(x, y, radius, angle1, angle2, direction) bind(C, name='ARC')
      import
      TAMVEL_CALL(arc)
      real(c_float), value :: x
      real(c_float), value :: y
      real(c_float), value :: radius
      real(c_float), value :: angle1
      real(c_float), value :: angle2
      integer(c_int32_t), value :: direction
    end subroutine arc
    subroutine arcc(x, y, radius, start, sweep) bind(C, name='ARCC')
      import
      TAMVEL_CALL(arcc)
      real(c_float), value :: x
      real(c_float), value :: y
      real(c_float), value :: radius
      real(c_float), value :: start
      real(c_float), value :: sweep
    end subroutine arcc
    subroutine wedge(x, y, radius, angle1, angle2, direction, pattern) bind(C, name='WEDGE')
      import
      TAMVEL_CALL(wedge)
      real(c_float), value :: x
      real(c_float), value :: y
      real(c_float), value :: radius
      real(c_float), value :: angle1
      real(c_float), value :: angle2
      integer(c_int32_t), value :: direction
      integer(c_int32_t), value :: pattern
    end subroutine wedge
    subroutine wedgeg(x, y, radius, angle1, angle2, direction, pattern) bind(C, name='WEDGEG')
      import
      TAMVEL_CALL(wedgeg)
      real(c_float), value :: x
      real(c_float), value :: y
      real(c_float), value :: radius
      real(c_float), value :: angle1
      real(c_float), value :: angle2
      integer(c_int32_t), value :: direction
      integer(c_int32_t), value :: pattern
    end subroutine wedgeg
    subroutine fillpt(pattern) bind(C, name='FILLPT')
      import
      TAMVEL_CALL(fillpt)
      integer(c_int32_t), value :: pattern
    end subroutine fillpt
    subroutine patrn(x, y, count, pattern) bind(C, name='PATRN')
      import
      TAMVEL_CALL(patrn)
      real(c_float), intent(in) :: x(*)
      real(c_float), intent(in) :: y(*)
      integer(c_int32_t), value :: count
      integer(c_int32_t), value :: pattern
    end subroutine patrn
    subroutine rectf(x1, y1, x2, y2, pattern) bind(C, name='RECTF')
      import
      TAMVEL_CALL(rectf)
      real(c_float), value :: x1
      real(c_float), value :: y1
      real(c_float), value :: x2
      real(c_float), value :: y2
      integer(c_int32_t), value :: pattern
    end subroutine rectf
    subroutine option_descriptor(keyword) bind(C, name='OPTION')
      import
      TAMVEL_CALL(option_descriptor)
      type(tamvel_fstring), intent(in) :: keyword
    end subroutine option_descriptor
    subroutine arowhd(x1, y1, x2, y2, length, width, head_type) bind(C, name='AROWHD')
      import
      TAMVEL_CALL(arowhd)
      real(c_float), value :: x1
      real(c_float), value :: y1
      real(c_float), value :: x2
      real(c_float), value :: y2
      real(c_float), value :: length
      real(c_float), value :: width
      integer(c_int32_t), value :: head_type
    end subroutine arowhd

    ! pens and colours
    subroutine pen(width_code) bind(C, name='PEN')
      import
      TAMVEL_CALL(pen)
      integer(c_int32_t), value :: width_code
    end subroutine pen
    subroutine penw(width) bind(C, name='PENW')
      import
      TAMVEL_CALL(penw)
      real(c_float), value :: width
    end subroutine penw
    subroutine penc(code, r, g, b) bind(C, name='PENC')
      import
      TAMVEL_CALL(penc)
      integer(c_int32_t), value :: code
      integer(c_int32_t), value :: r
      integer(c_int32_t), value :: g
      integer(c_int32_t), value :: b
    end subroutine penc
    subroutine fillc(code, r, g, b) bind(C, name='FILLC')
      import
      TAMVEL_CALL(fillc)
      integer(c_int32_t), value :: code
      integer(c_int32_t), value :: r
      integer(c_int32_t), value :: g
      integer(c_int32_t), value :: b
    end subroutine fillc
    subroutine textc(code, r, g, b) bind(C, name='TEXTC')
      import
      TAMVEL_CALL(textc)
      integer(c_int32_t), value :: code
      integer(c_int32_t), value :: r
      integer(c_int32_t), value :: g
      integer(c_int32_t), value :: b
    end subroutine textc
    subroutine allc(code, r, g, b) bind(C, name='ALLC')
      import
      TAMVEL_CALL(allc)
      integer(c_int32_t), value :: code
      integer(c_int32_t), value :: r
      integer(c_int32_t), value :: g
      integer(c_int32_t), value :: b
    end subroutine allc
    subroutine setbkc(code, r, g, b) bind(C, name='SETBKC')
      import
      TAMVEL_CALL(setbkc)
      integer(c_int32_t), value :: code
      integer(c_int32_t), value :: r
      integer(c_int32_t), value :: g
      integer(c_int32_t), value :: b
    end subroutine setbkc
    subroutine palc(code, r, g, b) bind(C, name='PALC')
      import
      TAMVEL_CALL(palc)
      integer(c_int32_t), value :: code
      integer(c_int32_t), value :: r
      integer(c_int32_t), value :: g
      integer(c_int32_t), value :: b
    end subroutine palc
    subroutine getbkg(mode) bind(C, name='GETBKG')
      import
      TAMVEL_CALL(getbkg)
      integer(c_int32_t), intent(out) :: mode
    end subroutine getbkg
    subroutine setbkg(mode) bind(C, name='SETBKG')
      import
      TAMVEL_CALL(setbkg)
      integer(c_int32_t), value :: mode
    end subroutine setbkg
    subroutine setmode(mode) bind(C, name='SETMODE')
      import
      TAMVEL_CALL(setmode)
      integer(c_int32_t), value :: mode
    end subroutine setmode

    ! palette
    subroutine initpalette() bind(C, name='InitPalette')
      import
      TAMVEL_CALL(initpalette)
    end subroutine initpalette
    subroutine uppalette0(colour) bind(C, name='UpPalette0')
      import
      TAMVEL_CALL(uppalette0)
      integer(c_int32_t), value :: colour
    end subroutine uppalette0
    subroutine uppalette(dc, page) bind(C, name='UpPalette')
      import
      TAMVEL_CALL(uppalette)
      type(c_ptr), value :: dc
      integer(c_int32_t), value :: page
    end subroutine uppalette

    ! clipping
    subroutine setclip(x1, y1, x2, y2) bind(C, name='SETCLIP')
      import
      TAMVEL_CALL(setclip)
      real(c_float), value :: x1
      real(c_float), value :: y1
      real(c_float), value :: x2
      real(c_float), value :: y2
    end subroutine setclip
    subroutine addclip(x1, y1, x2, y2) bind(C, name='ADDCLIP')
      import
      TAMVEL_CALL(addclip)
      real(c_float), value :: x1
      real(c_float), value :: y1
      real(c_float), value :: x2
      real(c_float), value :: y2
    end subroutine addclip
    subroutine andclip(x1, y1, x2, y2) bind(C, name='ANDCLIP')
      import
      TAMVEL_CALL(andclip)
      real(c_float), value :: x1
      real(c_float), value :: y1
      real(c_float), value :: x2
      real(c_float), value :: y2
    end subroutine andclip
    subroutine diffclip(x1, y1, x2, y2) bind(C, name='DIFFCLIP')
      import
      TAMVEL_CALL(diffclip)
      real(c_float), value :: x1
      real(c_float), value :: y1
      real(c_float), value :: x2
      real(c_float), value :: y2
    end subroutine diffclip
    subroutine addclipp(x, y, n) bind(C, name='ADDCLIPP')
      import
      TAMVEL_CALL(addclipp)
      real(c_float), intent(in) :: x(*)
      real(c_float), intent(in) :: y(*)
      integer(c_int32_t), value :: n
    end subroutine addclipp
    subroutine andclipp(x, y, n) bind(C, name='ANDCLIPP')
      import
      TAMVEL_CALL(andclipp)
      real(c_float), intent(in) :: x(*)
      real(c_float), intent(in) :: y(*)
      integer(c_int32_t), value :: n
    end subroutine andclipp
    subroutine diffclipp(x, y, n) bind(C, name='DIFFCLIPP')
      import
      TAMVEL_CALL(diffclipp)
      real(c_float), intent(in) :: x(*)
      real(c_float), intent(in) :: y(*)
      integer(c_int32_t), value :: n
    end subroutine diffclipp
    subroutine resetclip() bind(C, name='RESETCLIP')
      import
      TAMVEL_CALL(resetclip)
    end subroutine resetclip

    ! EMF files
    function savefilef(path, n) bind(C, name='SAVEFILEF')
      import
      TAMVEL_CALL(savefilef)
      type(tamvel_fstring), intent(in) :: path
      integer(c_int32_t), value :: n
      integer(c_int32_t) :: savefilef
    end function savefilef
    function loadfilef(path, n) bind(C, name='LOADFILEF')
      import
      TAMVEL_CALL(loadfilef)
      type(tamvel_fstring), intent(in) :: path
      integer(c_int32_t), value :: n
      integer(c_int32_t) :: loadfilef
    end function loadfilef

    ! playback
    function getemfsize(width, height) bind(C, name='GetEmfSize')
      import
      TAMVEL_CALL(getemfsize)
      integer(c_int32_t), intent(out) :: width
      integer(c_int32_t), intent(out) :: height
      integer(c_int32_t) :: getemfsize
    end function getemfsize
    function getpixelsize(width, height) bind(C, name='GetPixelSize')
      import
      TAMVEL_CALL(getpixelsize)
      integer(c_int32_t), intent(out) :: width
      integer(c_int32_t), intent(out) :: height
      integer(c_int32_t) :: getpixelsize
    end function getpixelsize
    function pasteemf(dc, window) bind(C, name='PasteEmf')
      import
      TAMVEL_CALL(pasteemf)
      type(c_ptr), value :: dc
      type(c_ptr), value :: window
      integer(c_int32_t) :: pasteemf
    end function pasteemf
    function pasteemf0(dc, window, left, top, right, bottom) bind(C, name='PasteEmf0')
      import
      TAMVEL_CALL(pasteemf0)
      type(c_ptr), value :: dc
      type(c_ptr), value :: window
      integer(c_int32_t), value :: left
      integer(c_int32_t), value :: top
      integer(c_int32_t), value :: right
      integer(c_int32_t), value :: bottom
      integer(c_int32_t) :: pasteemf0
    end function pasteemf0
    function pasteemf1(dc, window, sheet_width, sheet_height, x, y) bind(C, name='PasteEmf1')
      import
      TAMVEL_CALL(pasteemf1)
      type(c_ptr), value :: dc
      type(c_ptr), value :: window
      integer(c_int32_t), value :: sheet_width
      integer(c_int32_t), value :: sheet_height
      integer(c_int32_t), value :: x
      integer(c_int32_t), value :: y
      integer(c_int32_t) :: pasteemf1
    end function pasteemf1
    function pasteemf2(dc, window, sheet_width, sheet_height, x, y, widen) bind(C, name='PasteEmf2')
      import
      TAMVEL_CALL(pasteemf2)
      type(c_ptr), value :: dc
      type(c_ptr), value :: window
      integer(c_int32_t), value :: sheet_width
      integer(c_int32_t), value :: sheet_height
      integer(c_int32_t), value :: x
      integer(c_int32_t), value :: y
      integer(c_int32_t), value :: widen
      integer(c_int32_t) :: pasteemf2
    end function pasteemf2
    function printemf(printer) bind(C, name='PrintEmf')
      import
      TAMVEL_CALL(printemf)
      type(c_ptr), value :: printer
      integer(c_int32_t) :: printemf
    end function printemf
    function printemf0(printer) bind(C, name='PrintEmf0')
      import
      TAMVEL_CALL(printemf0)
      type(c_ptr), value :: printer
      integer(c_int32_t) :: printemf0
    end function printemf0
    function printemff(printer) bind(C, name='PrintEmfF')
      import
      TAMVEL_CALL(printemff)
      type(c_ptr), value :: printer
      integer(c_int32_t) :: printemff
    end function printemff
    function printemff1(printer, window_width, window_height, x, y) bind(C, name='PrintEmfF1')
      import
      TAMVEL_CALL(printemff1)
      type(c_ptr), value :: printer
      integer(c_int32_t), value :: window_width
      integer(c_int32_t), value :: window_height
      integer(c_int32_t), value :: x
      integer(c_int32_t), value :: y
      integer(c_int32_t) :: printemff1
    end function printemff1
    function pasteclipboard() bind(C, name='PasteClipboard')
      import
      TAMVEL_CALL(pasteclipboard)
      integer(c_int32_t) :: pasteclipboard
    end function pasteclipboard

    ! EMF editing
    function copyemf(destination, source) bind(C, name='CopyEmf')
      import
      TAMVEL_CALL(copyemf)
      integer(c_int32_t), value :: destination
      integer(c_int32_t), value :: source
      integer(c_int32_t) :: copyemf
    end function copyemf
    function moveemf(destination, source) bind(C, name='MoveEmf')
      import
      TAMVEL_CALL(moveemf)
      integer(c_int32_t), value :: destination
      integer(c_int32_t), value :: source
      integer(c_int32_t) :: moveemf
    end function moveemf
    subroutine clearemf(page) bind(C, name='ClearEmf')
      import
      TAMVEL_CALL(clearemf)
      integer(c_int32_t), value :: page
    end subroutine clearemf
    function resizeemf(page, width, height) bind(C, name='ResizeEmf')
      import
      TAMVEL_CALL(resizeemf)
      integer(c_int32_t), value :: page
      integer(c_int32_t), value :: width
      integer(c_int32_t), value :: height
      integer(c_int32_t) :: resizeemf
    end function resizeemf
    function shiftemf(page, dx, dy) bind(C, name='ShiftEmf')
      import
      TAMVEL_CALL(shiftemf)
      integer(c_int32_t), value :: page
      integer(c_int32_t), value :: dx
      integer(c_int32_t), value :: dy
      integer(c_int32_t) :: shiftemf
    end function shiftemf
    function writeemf(destination, source, dx, dy) bind(C, name='WriteEmf')
      import
      TAMVEL_CALL(writeemf)
      integer(c_int32_t), value :: destination
      integer(c_int32_t), value :: source
      integer(c_int32_t), value :: dx
      integer(c_int32_t), value :: dy
      integer(c_int32_t) :: writeemf
    end function writeemf
    function gettmpfilename(buffer, prefix) bind(C, name='GetTmpFileName')
      import
      TAMVEL_CALL(gettmpfilename)
      character(kind=c_char), intent(out) :: buffer(*)
      character(kind=c_char), intent(in) :: prefix(*)
      integer(c_int32_t) :: gettmpfilename
    end function gettmpfilename

    ! host services (text NUL-terminated: name // c_null_char)
    function setnelvarreg(application, section, name, text) bind(C, name='SetNelvarReg')
      import
      TAMVEL_CALL(setnelvarreg)
      character(kind=c_char), intent(in) :: application(*)
      character(kind=c_char), intent(in) :: section(*)
      character(kind=c_char), intent(in) :: name(*)
      character(kind=c_char), intent(in) :: text(*)
      integer(c_int32_t) :: setnelvarreg
    end function setnelvarreg
    function getnelvarreg(application, section, name, buffer) bind(C, name='GetNelvarReg')
      import
      TAMVEL_CALL(getnelvarreg)
      character(kind=c_char), intent(in) :: application(*)
      character(kind=c_char), intent(in) :: section(*)
      character(kind=c_char), intent(in) :: name(*)
      character(kind=c_char), intent(out) :: buffer(*)
      integer(c_int32_t) :: getnelvarreg
    end function getnelvarreg
    function setnelvarregb(application, section, name, data, size) bind(C, name='SetNelvarRegB')
      import
      TAMVEL_CALL(setnelvarregb)
      character(kind=c_char), intent(in) :: application(*)
      character(kind=c_char), intent(in) :: section(*)
      character(kind=c_char), intent(in) :: name(*)
      type(c_ptr), value :: data
      integer(c_int32_t), value :: size
      integer(c_int32_t) :: setnelvarregb
    end function setnelvarregb
    function getnelvarregb(application, section, name, buffer, size) bind(C, name='GetNelvarRegB')
      import
      TAMVEL_CALL(getnelvarregb)
      character(kind=c_char), intent(in) :: application(*)
      character(kind=c_char), intent(in) :: section(*)
      character(kind=c_char), intent(in) :: name(*)
      type(c_ptr), value :: buffer
      integer(c_int32_t), value :: size
      integer(c_int32_t) :: getnelvarregb
    end function getnelvarregb
    function setfiletype(description, extension, class_name, program_path, buffer, buffer_size) bind(C, name='SetFileType')
      import
      TAMVEL_CALL(setfiletype)
      character(kind=c_char), intent(in) :: description(*)
      character(kind=c_char), intent(in) :: extension(*)
      character(kind=c_char), intent(in) :: class_name(*)
      character(kind=c_char), intent(in) :: program_path(*)
      character(kind=c_char), intent(out) :: buffer(*)
      integer(c_int32_t), value :: buffer_size
      integer(c_int32_t) :: setfiletype
    end function setfiletype
    function setclassroot(key, value) bind(C, name='SetClassRoot')
      import
      TAMVEL_CALL(setclassroot)
      character(kind=c_char), intent(in) :: key(*)
      character(kind=c_char), intent(in) :: value(*)
      integer(c_int32_t) :: setclassroot
    end function setclassroot
    function getclassroot(key, buffer, size) bind(C, name='GetClassRoot')
      import
      TAMVEL_CALL(getclassroot)
      character(kind=c_char), intent(in) :: key(*)
      character(kind=c_char), intent(out) :: buffer(*)
      integer(c_int32_t), value :: size
      integer(c_int32_t) :: getclassroot
    end function getclassroot
    function iswindowsnt() bind(C, name='IsWindowsNT')
      import
      TAMVEL_CALL(iswindowsnt)
      integer(c_int32_t) :: iswindowsnt
    end function iswindowsnt
    subroutine setappnamef(name) bind(C, name='SETAPPNAMEF')
      import
      TAMVEL_CALL(setappnamef)
      type(tamvel_fstring), intent(in) :: name
    end subroutine setappnamef
    subroutine setcorpnamef(name) bind(C, name='SETCORPNAMEF')
      import
      TAMVEL_CALL(setcorpnamef)
      type(tamvel_fstring), intent(in) :: name
    end subroutine setcorpnamef
    function taskactiv(program_path) bind(C, name='TaskActiv')
      import
      TAMVEL_CALL(taskactiv)
      character(kind=c_char), intent(in) :: program_path(*)
      integer(c_int32_t) :: taskactiv
    end function taskactiv
  end interface

contains

  ! Describes a character(*) for the F forms. The descriptor points into `text`, so it is
  ! used only while the caller's string lives (inside the wrapper that made it).
  function tamvel_string(text) result(descriptor)
    character(len=*), intent(in), target :: text
    type(tamvel_fstring) :: descriptor
    descriptor%length = int(len(text), c_int32_t)
    if (len(text) > 0) then
      descriptor%text = c_loc(text)
    else
      descriptor%text = c_null_ptr
    end if
  end function tamvel_string

  subroutine kanji(x, y, height, text, angle, n)
    real(c_float), intent(in) :: x, y, height, angle
    character(len=*), intent(in), target :: text
    integer(c_int32_t), intent(in) :: n
    call kanjif(x, y, height, tamvel_string(text), angle, n)
  end subroutine kanji

  subroutine kanji2(x, y, height, text, angle, n, align)
    real(c_float), intent(in) :: x, y, height, angle
    character(len=*), intent(in), target :: text
    integer(c_int32_t), intent(in) :: n, align
    call kanji2f(x, y, height, tamvel_string(text), angle, n, align)
  end subroutine kanji2

  subroutine symbol(x, y, height, text, angle, n)
    real(c_float), intent(in) :: x, y, height, angle
    character(len=*), intent(in), target :: text
    integer(c_int32_t), intent(in) :: n
    call symbolf(x, y, height, tamvel_string(text), angle, n)
  end subroutine symbol

  subroutine symbl2(x, y, height, text, angle, n, align)
    real(c_float), intent(in) :: x, y, height, angle
    character(len=*), intent(in), target :: text
    integer(c_int32_t), intent(in) :: n, align
    call symbl2f(x, y, height, tamvel_string(text), angle, n, align)
  end subroutine symbl2

  subroutine textout(x, y, text, n)
    real(c_float), intent(in) :: x, y
    character(len=*), intent(in), target :: text
    integer(c_int32_t), intent(in) :: n
    call textoutf(x, y, tamvel_string(text), n)
  end subroutine textout

  function kanjiwid(height, text, n) result(width)
    real(c_float), intent(in) :: height
    character(len=*), intent(in), target :: text
    integer(c_int32_t), intent(in) :: n
    real(c_float) :: width
    width = kanjiwidf(height, tamvel_string(text), n)
  end function kanjiwid

  function symblwid(height, text, n) result(width)
    real(c_float), intent(in) :: height
    character(len=*), intent(in), target :: text
    integer(c_int32_t), intent(in) :: n
    real(c_float) :: width
    width = symblwidf(height, tamvel_string(text), n)
  end function symblwid

  ! Length of the text without trailing blanks; at least 1.
  function len2(text) result(length)
    character(len=*), intent(in), target :: text
    integer(c_int32_t) :: length
    length = len2_descriptor(tamvel_string(text))
  end function len2

  subroutine rootk2(x, y, height, text, angle, n, align)
    real(c_float), intent(in) :: x, y, height, angle
    character(len=*), intent(in), target :: text
    integer(c_int32_t), intent(in) :: n, align
    call rootk2f(x, y, height, tamvel_string(text), angle, n, align)
  end subroutine rootk2

  subroutine option(keyword)
    character(len=*), intent(in), target :: keyword
    call option_descriptor(tamvel_string(keyword))
  end subroutine option

  ! Saves the current page's finished metafile; 0 on success. Trailing blanks of the path
  ! are not part of the file name.
  function savefile(path) result(status)
    character(len=*), intent(in), target :: path
    integer(c_int32_t) :: status
    status = savefilef(tamvel_string(path), 0_c_int32_t)
  end function savefile

  ! Loads a metafile file into the current page; 0 on success.
  function loadfile(path) result(status)
    character(len=*), intent(in), target :: path
    integer(c_int32_t) :: status
    status = loadfilef(tamvel_string(path), 0_c_int32_t)
  end function loadfile

  subroutine setappname(name)
    character(len=*), intent(in), target :: name
    call setappnamef(tamvel_string(name))
  end subroutine setappname

  subroutine setcorpname(name)
    character(len=*), intent(in), target :: name
    call setcorpnamef(tamvel_string(name))
  end subroutine setcorpname

end module tamvel
